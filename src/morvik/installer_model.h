// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class QThread;

namespace kelvara::morvik {

class InstallWorker;

// What the installer window shows, and the one installation behind it. Lives on the main
// thread: the worker runs on a thread of its own and its records come back through this
// object's event queue, so a record still on its way when the model is gone is dropped.
class InstallerModel : public QObject {
    Q_OBJECT

public:
    // Tests adjust each new worker before it starts (free space, time-outs).
    using WorkerSetup = std::function<void(InstallWorker&)>;

    // `root`: the vocal folder the installation fills; `assets`: the shipped installer files,
    // absent when the program cannot find them (then nothing can be installed).
    InstallerModel(QString root, std::optional<QString> assets, QObject* parent = nullptr);
    // Cancels a running installation and waits until it has ended.
    ~InstallerModel() override;

    bool busy() const { return busy_; }
    bool done() const { return done_; }
    int stage() const { return stage_; }
    QString title() const { return title_; }
    QString detail() const { return detail_; }
    std::optional<double> progress() const { return progress_; }  // 0…1 when known
    std::optional<QString> error() const { return error_; }
    bool stopping() const { return stopping_; }
    QString logPath() const;

    // Starts an installation unless one runs or there is nothing to install from.
    void start();
    // Asks the running installation to stop; it ends as cancelled, without an error line.
    void cancel();
    // Applies one progress record of the worker or of the install script.
    void receive(const QVariantMap& record);

    void setWorkerSetup(WorkerSetup setup) { workerSetup_ = std::move(setup); }

signals:
    void changed();

private:
    struct Outcome {
        bool succeeded = false;
        std::optional<QString> failure;  // the failure's own text; none after a cancel
    };

    void runWorker(const std::shared_ptr<Outcome>& outcome);
    void finish(const Outcome& outcome);
    void succeed();
    void fail(const std::optional<QString>& failure);
    void applyStage(const QVariantMap& record);
    void applyDownload(const QVariantMap& record);
    void applyDetail(const QVariantMap& record);
    void applyError(const QVariantMap& record);

    const QString root_;
    const std::optional<QString> assets_;
    WorkerSetup workerSetup_;

    bool busy_ = false;
    bool done_ = false;
    int stage_ = 0;
    QString title_;
    QString detail_;
    std::optional<double> progress_;
    std::optional<QString> error_;
    bool stopping_ = false;

    // Present while an installation runs; the thread shares the worker until it ends.
    std::shared_ptr<InstallWorker> worker_;
    std::unique_ptr<QThread> thread_;
};

}  // namespace kelvara::morvik
