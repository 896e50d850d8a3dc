// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/file_identity.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace kelvara {

// Finished instrumentals, "<identity key>-bs317-v1.wav", kept within 4 GiB, newest kept.
class InstrumentalCache {
public:
    static constexpr std::uintmax_t sizeBudget = 4'294'967'296;
    static constexpr double durationTolerance = 0.1;  // seconds

    // The user's cache folder + "local.kelvara.waveform/Instrumentals" when no folder is given.
    explicit InstrumentalCache(std::optional<QString> directory = std::nullopt);

    static QString defaultDirectory();
    const QString& directory() const { return directory_; }
    QString fileFor(const FileIdentity& identity) const;

    // Creates the folder and its parents; throws the file error when that fails.
    void create() const;

    // Throws unless `candidate` is audio of at least one frame whose duration is within the
    // tolerance of the source's. Durations are our decoder's frame counts over their rates;
    // its error propagates when either file cannot be opened.
    static void validate(const QString& candidate, const QString& source);

    // Deletes the oldest ".wav" files beyond the budget, never `keep`.
    void prune(const QString& keep) const;

private:
    QString directory_;
};

}  // namespace kelvara
