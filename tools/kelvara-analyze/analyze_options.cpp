// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyze_options.h"

#include "i18n/l.h"

#include <algorithm>
#include <thread>

namespace kelvara {

namespace {

constexpr int mostJobs = 64;

int defaultJobs() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

}  // namespace

AnalyzeOptions AnalyzeOptions::parse(const QStringList& arguments) {
    AnalyzeOptions options;
    bool onlyFiles = false;
    const QStringList rest = arguments.mid(1);
    for (auto it = rest.begin(); it != rest.end(); ++it) {
        const QString& argument = *it;
        if (onlyFiles || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            options.files.append(argument);
        } else if (argument == QLatin1String("--")) {
            onlyFiles = true;
        } else if (argument == QLatin1String("--json")) {
            options.json = true;
        } else if (argument == QLatin1String("--no-cache")) {
            options.useCache = false;
        } else if (argument == QLatin1String("--jobs") || argument == QLatin1String("-j")) {
            bool number = false;
            const int jobs = std::next(it) != rest.end() ? std::next(it)->toInt(&number) : 0;
            if (!number || jobs < 1 || jobs > mostJobs) {
                options.error = L("Параметр {0} ждёт число от 1 до {1}.", argument, mostJobs);
                return options;
            }
            options.jobs = jobs;
            ++it;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--instrumental")) {
            options.instrumental = true;
        } else if (argument == QLatin1String("--decode")) {
            options.decode = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else {
            options.error = L("Неизвестный параметр: {0}", argument);
            return options;
        }
    }
    if (options.jobs == 0) {
        options.jobs = defaultJobs();
    }
    if (!options.help && !options.version && options.files.isEmpty()) {
        options.error = L("Не указаны файлы для анализа.");
    } else if (options.decode && options.files.size() != 1) {
        options.error = L("После --decode нужен ровно один файл.");
    }
    return options;
}

QString AnalyzeOptions::helpText() {
    return L("Использование: kelvara-analyze [--json] [--no-cache] [--jobs N] ФАЙЛ…\n"
             "Анализирует аудиофайлы через тот же кэш, что и Kelvara, и выводит по строке на файл: путь, "
             "длительность, число точек, BPM, начало и уверенность сетки, время анализа и взят ли результат "
             "из кэша.\n\n"
             "  --json      выводить по объекту JSON на строку\n"
             "  --no-cache  анализировать заново, не читая и не записывая кэш\n"
             "  --jobs N    анализировать до N файлов одновременно (по умолчанию по числу ядер)\n"
             "  --help      показать эту справку\n"
             "  --version   показать версию\n\n"
             "Код выхода не равен нулю, если хотя бы один файл не удалось проанализировать; кэш, который не "
             "удалось записать, — только предупреждение.") +
           QStringLiteral("\n\n") +
           L("  --instrumental  подготовить для файлов инструменталы (без вокала) в кэше, которым пользуется окно\n"
             "  --decode ФАЙЛ   вывести звук файла так, как его видит Kelvara (для обработчика вокала)");
}

}  // namespace kelvara
