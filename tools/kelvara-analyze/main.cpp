// SPDX-License-Identifier: GPL-3.0-or-later
// kelvara-analyze [--json] [--no-cache] [--jobs N] FILE… (or --help, --version): analyses
// each file through the cache the program uses and prints one result per file.
// --instrumental FILE… prepares instrumentals instead; --decode FILE hands the separation
// worker the decoded audio.
#include "about/program_version.h"
#include "analysis/analysis_job.h"
#include "analyze_options.h"
#include "batch_analysis.h"
#include "decode_command.h"
#include "instrumental_command.h"
#include "i18n/l.h"
#include "progress_bar.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <malloc.h>
#include <optional>

using namespace kelvara;

namespace {

struct Outcome {
    QString path;
    std::optional<Waveform> waveform;
    bool cached = false;
    double seconds = 0;
    QString error;
};

Outcome outcomeOf(const FileOutcome& file) {
    const AnalysisOutcome& analysis = file.analysis;
    const bool ready = analysis.kind == AnalysisOutcome::Kind::ready;
    return Outcome{file.path, ready ? analysis.waveform : std::nullopt, analysis.cached, file.seconds,
                   ready ? QString() : analysis.error.value_or(QString())};
}

void printText(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString resultLine(const Outcome& outcome) {
    if (!outcome.waveform) {
        return outcome.path + QStringLiteral(": ") + outcome.error;
    }
    const Waveform& waveform = *outcome.waveform;
    const QString source = outcome.cached ? L("из кэша") : L("проанализирован");
    const auto points = static_cast<qint64>(waveform.peaks.size());
    if (!waveform.beatGrid) {
        return L("{0} — {1} с, точек: {2}, ритм не найден; {3} с, {4}", outcome.path, fixed(waveform.duration, 3),
                 points, fixed(outcome.seconds, 3), source);
    }
    const BeatGrid& grid = *waveform.beatGrid;
    return L("{0} — {1} с, точек: {2}, BPM {3}, сетка от {4} с, уверенность {5}; {6} с, {7}", outcome.path,
             fixed(waveform.duration, 3), points, fixed(grid.bpm, 2), fixed(grid.origin, 3),
             fixed(grid.confidence, 2), fixed(outcome.seconds, 3), source);
}

QString resultJson(const Outcome& outcome) {
    QJsonObject object{{QStringLiteral("path"), outcome.path}};
    if (!outcome.waveform) {
        object.insert(QStringLiteral("error"), outcome.error);
    } else {
        const Waveform& waveform = *outcome.waveform;
        const auto& grid = waveform.beatGrid;
        object.insert(QStringLiteral("duration"), waveform.duration);
        object.insert(QStringLiteral("points"), static_cast<qint64>(waveform.peaks.size()));
        object.insert(QStringLiteral("bpm"), grid ? QJsonValue(grid->bpm) : QJsonValue());
        object.insert(QStringLiteral("origin"), grid ? QJsonValue(grid->origin) : QJsonValue());
        object.insert(QStringLiteral("confidence"), grid ? QJsonValue(grid->confidence) : QJsonValue());
        object.insert(QStringLiteral("seconds"), outcome.seconds);
        object.insert(QStringLiteral("cached"), outcome.cached);
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// An analysis allocates and frees buffers of a few hundred KiB to a few MiB, on several
// threads. By default glibc hands each back to the kernel and maps it afresh, zeroed page by
// page, for the next use; a tool that lives for one batch keeps them instead.
void keepFreedBuffers() {
    constexpr int largestMapped = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, largestMapped);
    mallopt(M_TRIM_THRESHOLD, 2 * largestMapped);
}

}  // namespace

// The analysis is what this tool is for; a cache that cannot be written only costs the next
// run its time, so it is a warning, given once, and the exit status stays 0.
int main(int argc, char* argv[]) {
    keepFreedBuffers();
    // Reads the language the window chose; a command-line tool leaves the window's settings
    // alone.
    QCoreApplication application(argc, argv);
    const AnalyzeOptions options = AnalyzeOptions::parse(QCoreApplication::arguments());
    if (options.help) {
        printText(stdout, AnalyzeOptions::helpText());
        return 0;
    }
    if (options.version) {
        printText(stdout, QStringLiteral("kelvara-analyze ") + programVersion());
        return 0;
    }
    if (!options.error.isEmpty()) {
        printText(stderr, options.error);
        printText(stderr, AnalyzeOptions::helpText());
        return 2;
    }
    if (options.decode) {
        return decodeToStandardOutput(options.files.first());
    }
    if (options.instrumental) {
        return renderInstrumentals(options.files);
    }
    const AnalysisJob job(WaveformCache(), options.useCache);
    ProgressBar bar;
    bool allAnalysed = true;
    std::optional<QString> cacheError;
    BatchAnalysis(job, options.files, options.jobs).run(
        [&](const FileOutcome& file) {
            const Outcome outcome = outcomeOf(file);
            allAnalysed = allAnalysed && outcome.waveform.has_value();
            if (outcome.waveform && file.analysis.error && !cacheError) {
                cacheError = file.analysis.error;
            }
            printText(stdout, options.json ? resultJson(outcome) : resultLine(outcome));
        },
        bar);
    if (cacheError) {
        printText(stderr, L("Предупреждение: кэш не записан: {0}", *cacheError));
    }
    return allAnalysed ? 0 : 1;
}
