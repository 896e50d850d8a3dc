// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "storage/cache_entry.h"
#include "storage/file_identity.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace kelvara {

// Finished analyses on disk, one binary property list per file identity
// ("<key>.peaks": {"identity": …, "waveform": …, "digest": …}), kept under a total size
// budget by evicting the least recently used files; temporaries of saves killed midway are
// removed after a minute. Holds no state besides its folder.
class WaveformCache {
public:
    static constexpr std::int64_t largestReadableFile = 3'999'999;
    static constexpr std::int64_t sizeBudget = 268'435'456;  // 256 MiB of ".peaks" files

    // The user's cache folder + "local.kelvara.waveform/Peaks" when no folder is given.
    explicit WaveformCache(std::optional<QString> directory = std::nullopt);

    static QString defaultDirectory();
    const QString& directory() const { return directory_; }
    QString fileFor(const FileIdentity& identity) const;

    // The stored analysis of exactly this identity, and marks it recently used. Every
    // problem (missing, too large, not a regular file, unreadable, damaged, another identity,
    // not valid) is a miss.
    // A grid from an older tempo analyzer is found again from the stored waveform (nothing
    // is decoded) and the record rewritten; if the rewrite fails the new grid still counts.
    std::optional<Waveform> load(const FileIdentity& identity) const noexcept;

    // Writes atomically, then evicts the oldest files beyond the budget. Throws WaveformError
    // for a record that is not valid and for a failed write; an old file then stays intact.
    void save(const Waveform& waveform, const FileIdentity& identity) const;

private:
    std::optional<CacheEntry> read(const FileIdentity& identity) const;
    void renewGrid(CacheEntry& entry) const;
    void prune() const;

    QString directory_;
};

}  // namespace kelvara
