// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cancellation.h"
#include "models/waveform.h"
#include "storage/file_identity.h"
#include "storage/waveform_cache.h"

#include <QString>

#include <functional>
#include <optional>

namespace kelvara {

// What one analysis of a track's file came to. `message` is the status line to show.
struct AnalysisOutcome {
    enum class Kind { ready, failed, cancelled };

    Kind kind = Kind::cancelled;
    std::optional<Waveform> waveform;      // ready only
    std::optional<FileIdentity> identity;  // of the analysed file; when failed, of the file now
    QString message;
};

// The background part of analysing the current track: resolve the file, look it up in the
// cache, otherwise analyse and store it, and make sure the file did not change meanwhile.
// Runs off the main thread and touches nothing but its arguments.
class AnalysisJob {
public:
    static AnalysisOutcome run(const QString& path, WaveformCache cache, const CancelCheck& cancelled,
                               const std::function<void(double)>& progress);

    // The identity of the file at `path` now; none for an empty path or an unreadable file.
    static std::optional<FileIdentity> identityNow(const QString& path);

private:
    static AnalysisOutcome analyse(const QString& path, WaveformCache& cache, const CancelCheck& cancelled,
                                   const std::function<void(double)>& progress);
};

}  // namespace kelvara
