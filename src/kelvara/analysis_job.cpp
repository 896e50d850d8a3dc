// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis_job.h"

#include "analysis/waveform_analyzer.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/track_resolver.h"

namespace kelvara {

AnalysisOutcome AnalysisJob::run(const QString& path, WaveformCache cache, const CancelCheck& cancelled,
                                 const std::function<void(double)>& progress) {
    try {
        return analyse(path, cache, cancelled, progress);
    } catch (const CancellationError&) {
        return {};
    } catch (const std::exception& error) {
        // Failures keep the file's present identity so that the periodic check retries only
        // once the file changes.
        return AnalysisOutcome{AnalysisOutcome::Kind::failed, std::nullopt, identityNow(path),
                               L("Волна недоступна: {0}", QString::fromStdString(error.what()))};
    }
}

AnalysisOutcome AnalysisJob::analyse(const QString& path, WaveformCache& cache, const CancelCheck& cancelled,
                                     const std::function<void(double)>& progress) {
    const QString file = TrackResolver::resolve(path);
    const FileIdentity identity = FileIdentity::of(file);
    std::optional<Waveform> record = cache.load(identity);
    const bool cached = record.has_value();
    if (!cached) {
        record = WaveformAnalyzer::analyze(file, cancelled, progress);
    }
    throwIfCancelled(cancelled);
    if (FileIdentity::of(file) != identity) {
        throw WaveformError::unavailable(L("Файл изменился во время анализа. Нажмите «Повторить»."));
    }
    if (!record->valid()) {
        throw WaveformError::unavailable(L("Некорректные данные waveform"));
    }
    QString message = L("Загружено из кэша");
    if (!cached) {
        try {
            cache.save(*record, identity);
            message = L("Анализ готов · кэш сохранён");
        } catch (const std::exception& error) {
            message = L("Волна готова, но кэш не записан: {0}", QString::fromStdString(error.what()));
        }
    }
    return AnalysisOutcome{AnalysisOutcome::Kind::ready, std::move(record), identity, message};
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

}  // namespace kelvara
