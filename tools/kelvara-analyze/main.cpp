// SPDX-License-Identifier: GPL-3.0-or-later
// kelvara-analyze [--json] [--no-cache] FILE…: analyses each file through the cache the
// program uses and prints one result per file. --instrumental FILE… prepares instrumentals
// instead; --decode FILE hands the separation worker the decoded audio.
#include "analysis/analysis_job.h"
#include "decode_command.h"
#include "instrumental_command.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "progress_bar.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace kelvara;

namespace {

struct Options {
    bool json = false;
    bool useCache = true;
    bool help = false;
    bool instrumental = false;
    bool decode = false;
    QStringList files;
    QString unknownOption;
};

struct Outcome {
    QString path;
    std::optional<Waveform> waveform;
    bool cached = false;
    double seconds = 0;
    QString error;
};

Options parseOptions(const QStringList& arguments) {
    Options options;
    bool onlyFiles = false;
    for (const QString& argument : arguments.mid(1)) {
        if (onlyFiles || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            options.files.append(argument);
        } else if (argument == QLatin1String("--")) {
            onlyFiles = true;
        } else if (argument == QLatin1String("--json")) {
            options.json = true;
        } else if (argument == QLatin1String("--no-cache")) {
            options.useCache = false;
        } else if (argument == QLatin1String("--instrumental")) {
            options.instrumental = true;
        } else if (argument == QLatin1String("--decode")) {
            options.decode = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (options.unknownOption.isEmpty()) {
            options.unknownOption = argument;
        }
    }
    return options;
}

QString helpText() {
    return L("Использование: kelvara-analyze [--json] [--no-cache] ФАЙЛ…\n"
             "Анализирует аудиофайлы через тот же кэш, что и Kelvara, и выводит по строке на файл: путь, "
             "длительность, число точек, BPM, начало и уверенность сетки, время анализа и взят ли результат "
             "из кэша.\n\n"
             "  --json      выводить по объекту JSON на строку\n"
             "  --no-cache  анализировать заново, не читая и не записывая кэш\n"
             "  --help      показать эту справку\n\n"
             "Код выхода не равен нулю, если хотя бы один файл не удалось проанализировать.");
}

QString fullHelpText() {
    return helpText() + QStringLiteral("\n\n") +
           L("  --instrumental  подготовить для файлов инструменталы (без вокала) в кэше, которым пользуется окно\n"
             "  --decode ФАЙЛ   вывести звук файла так, как его видит Kelvara (для обработчика вокала)");
}

void printText(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

// The analysis the program would show for this file. Filling the cache is what this tool
// is for, so a result that could not be stored counts as a failure.
Outcome analyseFile(const QString& file, const AnalysisJob& job, ProgressBar& bar) {
    QElapsedTimer timer;
    timer.start();
    AnalysisOutcome analysis = job.run(file, {}, [&](double fraction) { bar.show(file, fraction); });
    bar.clear();
    Outcome outcome{file, std::nullopt, analysis.cached, static_cast<double>(timer.nsecsElapsed()) / 1e9,
                    analysis.error.value_or(QString())};
    if (!analysis.error) {
        outcome.waveform = std::move(analysis.waveform);
    }
    return outcome;
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

}  // namespace

int main(int argc, char* argv[]) {
    AppLanguage::prepareLaunch();
    QCoreApplication application(argc, argv);
    const Options options = parseOptions(QCoreApplication::arguments());
    if (options.help) {
        printText(stdout, fullHelpText());
        return 0;
    }
    if (!options.unknownOption.isEmpty() || options.files.isEmpty()) {
        printText(stderr, options.unknownOption.isEmpty() ? L("Не указаны файлы для анализа.")
                                                          : L("Неизвестный параметр: {0}", options.unknownOption));
        printText(stderr, fullHelpText());
        return 2;
    }
    if (options.decode) {
        if (options.files.size() == 1) {
            return decodeToStandardOutput(options.files.first());
        }
        printText(stderr, L("После --decode нужен ровно один файл."));
        return 2;
    }
    if (options.instrumental) {
        return renderInstrumentals(options.files);
    }
    const AnalysisJob job(WaveformCache(), options.useCache);
    ProgressBar bar;
    bool allAnalysed = true;
    for (const QString& file : options.files) {
        const Outcome outcome = analyseFile(file, job, bar);
        allAnalysed = allAnalysed && outcome.waveform.has_value();
        printText(stdout, options.json ? resultJson(outcome) : resultLine(outcome));
    }
    return allAnalysed ? 0 : 1;
}
