// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_job.h"

#include "analysis/waveform_analyzer.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"
#include "storage/track_resolver.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kelvara {

AnalysisJob::AnalysisJob(WaveformCache cache, bool useCache) : cache_(std::move(cache)), useCache_(useCache) {}

AnalysisOutcome AnalysisJob::run(const QString& path, const CancelCheck& cancelled,
                                 const std::function<void(double)>& progress, AnalysisThreads threads) const {
    try {
        return analyse(path, cancelled, progress, threads);
    } catch (const CancellationError&) {
        return {};
    } catch (const std::exception& error) {
        qCDebug(analysisLog) << "analysis of" << path << "failed:" << error.what();
        // Failures keep the file's present identity so that the periodic check retries only
        // once the file changes.
        return AnalysisOutcome{AnalysisOutcome::Kind::failed, std::nullopt, identityNow(path), false,
                               QString::fromStdString(error.what())};
    }
}

AnalysisOutcome AnalysisJob::analyse(const QString& path, const CancelCheck& cancelled,
                                     const std::function<void(double)>& progress, AnalysisThreads threads) const {
    const QString file = TrackResolver::resolve(path);
    const FileIdentity identity = FileIdentity::of(file);
    std::optional<Waveform> record = useCache_ ? cache_.load(identity) : std::nullopt;
    const bool cached = record.has_value();
    if (!cached) {
        record = WaveformAnalyzer::analyze(file, cancelled, progress, threads);
    }
    throwIfCancelled(cancelled);
    if (FileIdentity::of(file) != identity) {
        throw WaveformError::unavailable(L("Файл изменился во время анализа. Нажмите «Повторить»."));
    }
    if (!record->valid()) {
        throw WaveformError::unavailable(L("Некорректные данные waveform"));
    }
    const std::optional<QString> cacheError = cached ? std::nullopt : store(*record, identity);
    return AnalysisOutcome{AnalysisOutcome::Kind::ready, std::move(record), identity, cached, cacheError};
}

// A cache that cannot be written costs the next start an analysis, not this result.
std::optional<QString> AnalysisJob::store(const Waveform& waveform, const FileIdentity& identity) const {
    if (!useCache_) {
        return std::nullopt;
    }
    try {
        cache_.save(waveform, identity);
        return std::nullopt;
    } catch (const std::exception& error) {
        qCDebug(cacheLog) << "cannot store the analysis of" << identity.path << "in" << cache_.directory() << ":"
                          << error.what();
        return QString::fromStdString(error.what());
    }
}

std::optional<FileIdentity> AnalysisJob::identityNow(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    try {
        return FileIdentity::of(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void AnalysisJob::lowerThreadPriority() {
    // On Linux a nice value set for a thread id applies to that thread alone.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
}

}  // namespace kelvara
