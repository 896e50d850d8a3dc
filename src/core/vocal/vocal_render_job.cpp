// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/vocal_render_job.h"

#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/cancellation.h"
#include "models/waveform_error.h"
#include "storage/file_error.h"
#include "storage/file_identity.h"
#include "vocal/instrumental_cache.h"
#include "vocal/runtime_descriptor.h"
#include "vocal/work_folder.h"
#include "vocal/worker_event_reader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <filesystem>
#include <optional>
#include <system_error>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace kelvara {

namespace {

constexpr int readWaitMs = 100;
// A worker that ignores the polite request is killed after this long.
constexpr qint64 terminationGraceMs = 2000;

struct WorkerOutcome {
    bool exitedNormally = false;
    int exitCode = 0;
    std::optional<QString> result;
    std::optional<QString> error;
};

[[noreturn]] void throwModuleMissing() {
    throw WaveformError::unavailable(
        L("Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта "
          "Kelvara, затем повторите обработку."));
}

// The worker's own texts in the language of the run, keyed by their Russian text: the worker
// is not linked to our tables, so it is handed the lines it may show.
QString workerTexts() {
    const QJsonObject table{
        {QStringLiteral("Читаю трек…"), L("Читаю трек…")},
        {QStringLiteral("Отделяю вокал… {0} %"), L("Отделяю вокал… {0} %", "{0}")},
        {QStringLiteral("Не найден декодер Kelvara"), L("Не найден декодер Kelvara")},
        {QStringLiteral("Не удалось декодировать аудио."), L("Не удалось декодировать аудио.")},
        {QStringLiteral("Трек записан в моно: вокал в нём нельзя отделить"),
         L("Трек записан в моно: вокал в нём нельзя отделить")},
        {QStringLiteral("Ошибка обработки: {0}"), L("Ошибка обработки: {0}", "{0}")},
    };
    return QString::fromUtf8(QJsonDocument(table).toJson(QJsonDocument::Compact));
}

QProcessEnvironment workerEnvironment(const QString& decoder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_NUM_THREADS"), QStringLiteral("4"));
    environment.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    environment.insert(QStringLiteral("KELVARA_DECODER"), decoder);
    environment.insert(QStringLiteral("KELVARA_STAGE_TEXTS"), workerTexts());
    return environment;
}

QString createLog(const QString& folder) {
    const QString path = folder + QStringLiteral("/worker.log");
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly)) {
        throw fileError(path, log.errorString());
    }
    return path;
}

bool isValid(const QString& candidate, const QString& source) {
    try {
        InstrumentalCache::validate(candidate, source);
        return true;
    } catch (const std::exception& error) {
        qCDebug(cacheLog) << "cached instrumental" << candidate << "is rendered again:" << error.what();
        return false;
    }
}

// The finished file the worker named: it must have succeeded and put it directly in its folder.
QString acceptedResult(const WorkerOutcome& outcome, const QString& folder) {
    if (!outcome.exitedNormally || outcome.exitCode != 0 || !outcome.result) {
        throw WaveformError::unavailable(
            outcome.error.value_or(L("Процесс обработки завершился с кодом {0}", outcome.exitCode)));
    }
    const QString result = QDir::cleanPath(QFileInfo(*outcome.result).absoluteFilePath());
    if (QFileInfo(result).absolutePath() != QDir::cleanPath(QFileInfo(folder).absoluteFilePath())) {
        throw WaveformError::unavailable(L("Некорректный путь инструментала"));
    }
    return result;
}

// Puts the result in the cache in one step: the old file, if any, stays until it is replaced.
void moveInto(const QString& result, const QString& target) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(result).toStdString(), QFile::encodeName(target).toStdString(), error);
    if (error) {
        throw fileError(target, QString::fromLocal8Bit(error.message()));
    }
}

void signalGroup(qint64 group, int signal) {
    if (group > 0) {
        ::kill(static_cast<pid_t>(-group), signal);
    }
}

}  // namespace

VocalRenderJob::VocalRenderJob(VocalResources resources) : resources_(std::move(resources)) {}

QString VocalRenderJob::render(const QString& source, const Progress& progress) {
    const FileIdentity identity = FileIdentity::of(source);
    const InstrumentalCache cache(resources_.cacheDirectory);
    cache.create();
    const QString target = cache.fileFor(identity);
    if (QFileInfo::exists(target) && isValid(target, source)) {
        return target;
    }
    const auto runtime = RuntimeDescriptor::read(resources_.descriptor());
    if (!runtime || !QFileInfo(resources_.script()).isFile()) {
        throwModuleMissing();
    }
    WorkFolder::removeAbandoned(cache.directory());
    const WorkFolder folder(cache.directory());
    const QString result = runWorker(*runtime, source, folder.path(), progress);
    InstrumentalCache::validate(result, source);
    if (FileIdentity::of(source) != identity) {
        throw WaveformError::unavailable(L("Исходный трек изменился во время обработки"));
    }
    moveInto(result, target);
    cache.prune(target);
    return target;
}

QString VocalRenderJob::runWorker(const RuntimeDescriptor& runtime, const QString& source, const QString& workFolder,
                                  const Progress& progress) {
    QProcess process;
    process.setProgram(runtime.python);
    process.setArguments({QStringLiteral("-u"), resources_.script(), QStringLiteral("--input"), source,
                          QStringLiteral("--output"), workFolder, QStringLiteral("--models"), runtime.models});
    process.setProcessEnvironment(workerEnvironment(resources_.decoder));
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.setStandardErrorFile(createLog(workFolder), QIODevice::Append);
    // Its own process group, so that cancel reaches the programs it starts; and it goes when
    // the thread that started it does, so a crash of ours leaves no worker behind.
    process.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    {
        const std::lock_guard guard(lock_);
        if (cancelled_) {
            throw CancellationError();
        }
        process.start();
        if (!process.waitForStarted(-1)) {
            throw fileError(runtime.python, process.errorString());
        }
        processGroup_ = process.processId();
    }
    WorkerEventReader events(progress);
    QElapsedTimer sinceCancel;
    // Reading stops when the worker exits, even if a program it started still holds the pipe.
    while (process.state() != QProcess::NotRunning) {
        // A worker that closed its output is still waited for, without spinning.
        if (!process.waitForReadyRead(readWaitMs)) {
            process.waitForFinished(readWaitMs);
        }
        events.feed(process.readAllStandardOutput());
        killIfStuck(sinceCancel);
    }
    events.feed(process.readAllStandardOutput());
    if (finished()) {
        throw CancellationError();
    }
    return acceptedResult({process.exitStatus() == QProcess::NormalExit, process.exitCode(), events.result(),
                           events.error()},
                          workFolder);
}

void VocalRenderJob::killIfStuck(QElapsedTimer& sinceCancel) {
    const std::lock_guard guard(lock_);
    if (!cancelled_) {
        return;
    }
    if (!sinceCancel.isValid()) {
        sinceCancel.start();
    } else if (sinceCancel.hasExpired(terminationGraceMs)) {
        signalGroup(processGroup_, SIGKILL);
    }
}

bool VocalRenderJob::finished() {
    const std::lock_guard guard(lock_);
    // What the worker started and left running has no one to read it.
    signalGroup(processGroup_, SIGKILL);
    processGroup_ = 0;
    return cancelled_;
}

void VocalRenderJob::cancel() {
    qint64 group = 0;
    {
        const std::lock_guard guard(lock_);
        cancelled_ = true;
        group = processGroup_;
    }
    signalGroup(group, SIGTERM);
}

}  // namespace kelvara
