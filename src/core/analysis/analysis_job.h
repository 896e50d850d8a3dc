// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_outcome.h"
#include "analysis/analysis_threads.h"
#include "models/cancellation.h"
#include "storage/waveform_cache.h"

#include <QString>

#include <functional>
#include <optional>

namespace kelvara {

// The analysis of one audio file, as the window and kelvara-analyze run it: resolve the
// file, take it from the cache when it is there, otherwise analyse it and store it, and
// make sure the file did not change meanwhile. Touches nothing but its own copy of the
// cache, so any thread may run it.
class AnalysisJob {
public:
    // Without `useCache` the file is analysed afresh and the cache is neither read nor written.
    explicit AnalysisJob(WaveformCache cache = WaveformCache(), bool useCache = true);

    // Never throws: failures and cancellation come back as the outcome's kind. `threads` is
    // how many cores an analysis (not a cache hit) may keep busy.
    AnalysisOutcome run(const QString& path, const CancelCheck& cancelled = {},
                        const std::function<void(double)>& progress = {},
                        AnalysisThreads threads = AnalysisThreads::spread) const;

    // The identity of the file at `path` now; none for an empty path or an unreadable file.
    static std::optional<FileIdentity> identityNow(const QString& path);

    // Puts the calling thread below the interface and the player link.
    static void lowerThreadPriority();

private:
    AnalysisOutcome analyse(const QString& path, const CancelCheck& cancelled,
                            const std::function<void(double)>& progress, AnalysisThreads threads) const;
    std::optional<QString> store(const Waveform& waveform, const FileIdentity& identity) const;

    WaveformCache cache_;
    bool useCache_;
};

}  // namespace kelvara
