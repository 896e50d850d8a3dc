// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cue_point.h"
#include "storage/store_file.h"

#include <QString>

#include <map>
#include <vector>

namespace kelvara {

// The cues of every track, keyed by the player's track ID; arrays in insertion order.
using CueTracks = std::map<QString, std::vector<CuePoint>>;

// The cue file "Cues.json": {"tracks": {id: [cue…]}, "version": 1}, pretty-printed with
// sorted keys. A track whose cues were all removed keeps an empty array.
class CueStore {
public:
    static constexpr int formatVersion = 1;

    // The file in the user's data folder.
    CueStore();
    explicit CueStore(QString file);

    const QString& file() const { return file_.path(); }

    // Empty when there is no file. Throws WaveformError for a file that cannot be read, is
    // not the expected JSON, or holds another version, a negative or non-finite time or a
    // colour outside 0…3; the store is then unreadable for its lifetime.
    CueTracks load();

    // False while a load has failed and nothing is written then: the file on disk is kept for
    // the user.
    bool readable() const { return file_.readable(); }

    // Writes the whole map atomically (no validation). Returns false without writing when the
    // store is unreadable; throws WaveformError when writing fails.
    [[nodiscard]] bool save(const CueTracks& tracks) const;

private:
    StoreFile file_;
};

}  // namespace kelvara
