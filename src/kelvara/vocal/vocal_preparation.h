// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "task_token.h"
#include "uptime_clock.h"
#include "vocal/vocal_resources.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUuid>

#include <memory>
#include <optional>

namespace kelvara {

class VocalRenderJob;

// The instrumental of the current track: prepared on request or, when automatic preparation is
// on, for every new track; the render runs on a worker thread after a 2 s grace, so a track
// skipped at once starts no worker. Main thread; results of an abandoned preparation are dropped.
class VocalPreparation : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString vocalStatus READ vocalStatus NOTIFY vocalStatusChanged)
    Q_PROPERTY(bool vocalReady READ vocalReady NOTIFY vocalReadyChanged)
    Q_PROPERTY(bool vocalWorking READ vocalWorking NOTIFY vocalWorkingChanged)
    Q_PROPERTY(bool autoInstrumental READ autoInstrumental NOTIFY autoInstrumentalChanged)

public:
    // The grace before a worker starts.
    static constexpr std::chrono::seconds startDelay{2};

    VocalPreparation(std::shared_ptr<UptimeClock> clock, VocalResources resources, QObject* parent = nullptr);
    ~VocalPreparation() override;

    const QString& vocalStatus() const { return vocalStatus_; }
    bool vocalReady() const { return vocalReady_; }
    bool vocalWorking() const { return vocalWorking_; }
    bool autoInstrumental() const { return autoInstrumental_; }
    // The prepared instrumental; absent unless vocalReady.
    const std::optional<QString>& instrumental() const { return instrumental_; }

    // Prepares for `trackID` from `path` unless this track and file were already taken up.
    void prepare(const QString& trackID, const QString& path);
    // Prepares again even if the track was prepared before.
    void prepareAgain(const QString& trackID, const QString& path);
    // Off: the running preparation stops; a finished instrumental stays. On: prepares the track.
    void setAutoInstrumental(bool on, const QString& trackID, const QString& path);
    // The followed track changed: whatever belonged to the old one goes.
    void resetTrack();
    // Stops the running preparation without a message.
    void cancel();
    // The status line, also for what the instrumental mode reports.
    void setStatus(const QString& status);

signals:
    void changed();
    void vocalStatusChanged();
    void vocalReadyChanged();
    void vocalWorkingChanged();
    void autoInstrumentalChanged();
    // A worker was started (after the grace).
    void workerStarted();

private:
    QCoro::Task<> run(QString path, QUuid generation, TaskToken token, std::shared_ptr<VocalRenderJob> job);
    void renderOnWorker(const QString& path, const QUuid& generation, const TaskToken& token,
                        const std::shared_ptr<VocalRenderJob>& job);
    void finish(const QUuid& generation, const TaskToken& token, const std::optional<QString>& instrumental,
                const QString& error);
    void setReady(const std::optional<QString>& instrumental);
    void setWorking(bool working);

    std::shared_ptr<UptimeClock> clock_;
    const VocalResources resources_;
    QString vocalStatus_;
    bool vocalReady_ = false;
    bool vocalWorking_ = false;
    bool autoInstrumental_;
    std::optional<QString> instrumental_;
    std::shared_ptr<VocalRenderJob> job_;
    std::optional<TaskToken> task_;
    QUuid generation_ = QUuid::createUuid();  // results of any other preparation are dropped
    QString preparationKey_;                  // track ID, "|", path of the last started preparation

    // The render worker. Last member: destroyed first, waiting for a cancelled render to stop.
    QThreadPool renderPool_;
};

}  // namespace kelvara
