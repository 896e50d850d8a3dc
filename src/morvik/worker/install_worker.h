// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

class QFile;
class QLockFile;

namespace kelvara::morvik {

class RuntimeDownload;
class StepProcess;

// Installs the vocal module without questions: checks the free space under `root`, downloads
// the Python runtime that `assets`/PythonRuntime.json names, checks its SHA-256 digest,
// unpacks it into a new staging folder "python-<uuid>" and runs `assets`/install.py with it,
// which installs the rest and switches runtime.json over. Everything the child programs print
// goes to `root`/installation.log. One worker serves one installation.
//
// `update` receives progress records from the installing thread: `stage` (int) with `title`,
// `detail` (Russian texts, to be localized by the receiver), `download`/`total` (qint64, total
// ≤ 0 when unknown); the install script's event lines are passed on unchanged (they may also
// carry `error`).
class InstallWorker {
public:
    using Update = std::function<void(const QVariantMap&)>;
    using FreeSpaceReader = std::function<std::optional<qint64>(const QString& folder)>;

    // At least 6 GiB must be free under root.
    static constexpr qint64 requiredSpace = 6LL * 1024 * 1024 * 1024;

    InstallWorker(QString root, QString assets, Update update);
    InstallWorker(const InstallWorker&) = delete;
    InstallWorker& operator=(const InstallWorker&) = delete;
    ~InstallWorker();

    // The whole installation. Blocking: call it once, on a background QThread (QThread::create,
    // QtConcurrent; it runs its own event loop for the download, which a std::thread cannot;
    // a QCoreApplication must exist). Throws InstallFailure with
    // the text to show (localized, or the platform's text for file, launch and network
    // failures), or CancellationError once cancelled. A failed or cancelled run leaves an
    // earlier installation as it was.
    void install();

    // Any thread, any time, repeatable: stops the download or the running step's whole process
    // group, and keeps later steps from starting.
    void cancel();

    // Seams for the tests: the free-space reading (nullopt: unknown) and the download's time-out
    // without data (60 s by default).
    void setFreeSpaceReader(FreeSpaceReader reader);
    void setInactivityTimeout(std::chrono::milliseconds timeout);

private:
    void createRoot() const;
    void claimRoot(QLockFile& claim) const;
    void checkFreeSpace() const;
    void openLog(QFile& log) const;
    QString createStagingFolder() const;
    void download(const QUrl& url, const QString& destination);
    void verify(const QString& archive, const QString& sha256) const;
    void runStep(const QString& program, const QStringList& arguments, QFile& log);
    void throwIfCancelled();

    const QString root_;
    const QString assets_;
    const Update update_;
    FreeSpaceReader freeSpace_;
    std::chrono::milliseconds inactivityTimeout_{std::chrono::seconds(60)};

    // Shared with cancel(), guarded by lock_: the running download or step, each set while it
    // runs, so that a cancel either keeps it from starting or finds it to stop.
    std::mutex lock_;
    bool cancelled_ = false;
    RuntimeDownload* download_ = nullptr;
    StepProcess* step_ = nullptr;
};

}  // namespace kelvara::morvik
