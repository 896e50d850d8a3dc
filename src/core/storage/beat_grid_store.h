// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "storage/store_file.h"

#include <QString>

#include <map>

namespace kelvara {

// Manual grids keyed by grid key: track ID, "|", absolute file path.
using BeatGridMap = std::map<QString, BeatGrid>;

// The grid file "BeatGrids.json": one compact JSON object of grid key → {bpm, origin, confidence}.
class BeatGridStore {
public:
    // The file in the user's data folder.
    BeatGridStore();
    explicit BeatGridStore(QString file);

    const QString& file() const { return file_.path(); }

    // Empty when there is no file. Throws WaveformError for a file that cannot be read, is not
    // the expected JSON, or holds an invalid grid; the store is then unreadable for its lifetime.
    BeatGridMap load();

    // False while a load has failed and nothing is written then: the file on disk is kept for
    // the user.
    bool readable() const { return file_.readable(); }

    // Writes the whole map atomically. Returns false without writing when the store is
    // unreadable; throws WaveformError, writing nothing, when a grid is invalid or writing fails.
    [[nodiscard]] bool save(const BeatGridMap& grids) const;

private:
    StoreFile file_;
};

}  // namespace kelvara
