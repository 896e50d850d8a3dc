// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/install_worker.h"

#include "i18n/l.h"
#include "models/cancellation.h"
#include "storage/resource_paths.h"
#include "worker/archive_digest.h"
#include "worker/free_space.h"
#include "worker/install_failure.h"
#include "worker/python_runtime.h"
#include "worker/runtime_download.h"
#include "worker/step_process.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QUuid>

#include <filesystem>
#include <system_error>

namespace kelvara::morvik {

namespace {

namespace fs = std::filesystem;

fs::path filePath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

// The children's environment: ours, unbuffered Python so events arrive as they are printed,
// and the decoder the separation worker needs to check the installation.
QProcessEnvironment stepEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    if (const auto decoder = ResourcePaths::decoder()) {
        environment.insert(QStringLiteral("KELVARA_DECODER"), *decoder);
    }
    return environment;
}

}  // namespace

InstallWorker::InstallWorker(QString root, QString assets, Update update)
    : root_(std::move(root)), assets_(std::move(assets)), update_(std::move(update)), freeSpace_(availableSpace) {}

InstallWorker::~InstallWorker() = default;

void InstallWorker::install() {
    createRoot();
    QLockFile claim(root_ + QStringLiteral("/installation.lock"));
    claimRoot(claim);
    checkFreeSpace();
    QFile log(root_ + QStringLiteral("/installation.log"));
    openLog(log);
    const PythonRuntime runtime = PythonRuntime::read(assets_);
    const QString staging = createStagingFolder();
    const QString archive = staging + QStringLiteral("/python.tar.gz");
    update_({{QStringLiteral("stage"), 1}, {QStringLiteral("title"), QStringLiteral("Загрузка Python…")}});
    download(runtime.url, archive);
    throwIfCancelled();
    verify(archive, runtime.sha256);
    update_({{QStringLiteral("detail"), QStringLiteral("Распаковка Python…")}});
    runStep(QStringLiteral("tar"), {QStringLiteral("-xzf"), archive, QStringLiteral("-C"), staging}, log);
    QFile::remove(archive);
    runStep(staging + QStringLiteral("/python/bin/python3"),
            {assets_ + QStringLiteral("/install.py"), QStringLiteral("--events"), QStringLiteral("--root"), root_}, log);
}

void InstallWorker::cancel() {
    const std::lock_guard guard(lock_);
    cancelled_ = true;
    if (download_) {
        download_->cancel();
    }
    if (step_) {
        step_->terminate();
    }
}

void InstallWorker::setFreeSpaceReader(FreeSpaceReader reader) { freeSpace_ = std::move(reader); }

void InstallWorker::setInactivityTimeout(std::chrono::milliseconds timeout) { inactivityTimeout_ = timeout; }

void InstallWorker::createRoot() const {
    std::error_code error;
    fs::create_directories(filePath(root_), error);
    if (!error) {
        fs::permissions(filePath(root_), fs::perms::owner_all, fs::perm_options::replace, error);
    }
    if (error) {
        throw InstallFailure::about(root_, QString::fromLocal8Bit(error.message()));
    }
}

// One installation per root at a time: a second installer would replace the log, and its
// clean-up could remove the runtime the first one is unpacking. A lock left by a process that
// has died is taken over.
void InstallWorker::claimRoot(QLockFile& claim) const {
    claim.setStaleLockTime(0);
    if (!claim.tryLock(0)) {
        throw InstallFailure(L("Установка уже идёт в другом окне установщика."));
    }
}

void InstallWorker::checkFreeSpace() const {
    const std::optional<qint64> available = freeSpace_(root_);
    if (!available || *available < requiredSpace) {
        throw InstallFailure(L("Нужно минимум 6 ГБ свободного места."));
    }
}

// A fresh log for every run, readable by the user alone: it may name their folders.
void InstallWorker::openLog(QFile& log) const {
    QFile::remove(log.fileName());
    if (!log.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        throw InstallFailure::about(log.fileName(), log.errorString());
    }
}

QString InstallWorker::createStagingFolder() const {
    const QString folder = root_ + QStringLiteral("/python-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::error_code error;
    fs::create_directory(filePath(folder), error);
    if (error) {
        throw InstallFailure::about(folder, QString::fromLocal8Bit(error.message()));
    }
    return folder;
}

void InstallWorker::download(const QUrl& url, const QString& destination) {
    RuntimeDownload transfer(url, destination, inactivityTimeout_, [this](qint64 received, qint64 total) {
        update_({{QStringLiteral("download"), received}, {QStringLiteral("total"), total}});
    });
    {
        const std::lock_guard guard(lock_);
        if (cancelled_) {
            throw CancellationError();
        }
        download_ = &transfer;
    }
    const auto untrack = qScopeGuard([this] {
        const std::lock_guard guard(lock_);
        download_ = nullptr;
    });
    transfer.run();
}

void InstallWorker::verify(const QString& archive, const QString& sha256) const {
    if (archiveDigest(archive) != sha256) {
        throw InstallFailure(L("Проверка целостности Python не пройдена. Повторите загрузку."));
    }
}

void InstallWorker::runStep(const QString& program, const QStringList& arguments, QFile& log) {
    throwIfCancelled();
    StepProcess step(program, arguments, stepEnvironment());
    {
        const std::lock_guard guard(lock_);
        if (cancelled_) {
            throw CancellationError();
        }
        step.start();
        step_ = &step;
    }
    const bool succeeded = step.readUntilExit(log, update_);
    {
        const std::lock_guard guard(lock_);
        step_ = nullptr;
    }
    throwIfCancelled();
    if (!succeeded) {
        throw InstallFailure(
            L("Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале."));
    }
}

void InstallWorker::throwIfCancelled() {
    const std::lock_guard guard(lock_);
    if (cancelled_) {
        throw CancellationError();
    }
}

}  // namespace kelvara::morvik
