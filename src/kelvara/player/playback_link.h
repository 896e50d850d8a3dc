// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/music_snapshot.h"
#include "task_token.h"
#include "uptime_clock.h"

#include <QCoroTask>
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kelvara {

class LocalTransport;
class MusicController;
class PlayerDirectory;
class WorkspaceWatcher;

// The link to the followed player, on the main thread: polls it through the bridge,
// publishes its state and the play position between replies, and sends seeks and
// play/pause. Seeks show at once and are coalesced: one in flight, at most the newest one
// waiting. It knows nothing of the loop or the analysis; it announces what they react to.
class PlaybackLink : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelvara::MusicSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(std::optional<QString> controlError READ controlError NOTIFY controlErrorChanged)
    Q_PROPERTY(std::optional<double> previewPosition READ previewPosition NOTIFY previewPositionChanged)
    Q_PROPERTY(bool seekLocked READ seekLocked WRITE setSeekLocked NOTIFY seekLockedChanged)
    Q_PROPERTY(std::optional<QString> seekNotice READ seekNotice WRITE setSeekNotice NOTIFY seekNoticeChanged)

public:
    // `fallbackDuration` gives the track's length when the player reports none.
    PlaybackLink(std::shared_ptr<UptimeClock> clock, const QString& bridgeExecutable, const QDBusConnection& sessionBus,
                 const std::optional<QDBusConnection>& systemBus, std::function<double()> fallbackDuration,
                 QObject* parent = nullptr);
    ~PlaybackLink() override;

    // Published fields.
    const MusicSnapshot& snapshot() const { return snapshot_; }
    const std::optional<QString>& controlError() const { return controlError_; }
    std::optional<double> previewPosition() const { return previewPosition_; }
    bool seekLocked() const { return seekLocked_; }
    const std::optional<QString>& seekNotice() const { return seekNotice_; }

    void setSeekLocked(bool locked);
    void setSeekNotice(const std::optional<QString>& notice);

    // Derived values.
    double position() const;  // now: preview, else interpolated from the last reply
    double duration() const;  // snapshot, else the fallback
    bool canControl() const;  // a current track, automation not refused
    bool seekInFlight() const { return seekTaskRunning_; }
    // The players on the bus, for the player menu.
    PlayerDirectory& players() { return *players_; }
    MusicController& controller() { return *controller_; }

    // Audio played in the player's place; null for none. Not owned; must outlive the link's use of it.
    void setLocalTransport(LocalTransport* transport) { transport_ = transport; }

    // Polling.
    void start();
    void restartPolling();
    QCoro::Task<> refresh();
    // Resumes polling after a refusal.
    void retry();

    // Player state.
    void apply(const MusicSnapshot& next);
    // A user's seek: honours the lock (with its notice), then queues.
    void seek(double seconds);
    // Queues a seek without a notice; the loop's jumps come this way.
    void enqueueSeek(double seconds);
    void togglePlayback();
    void indicateSeekLock();
    // Stops the timer that would clear the notice, so a hint set after it stays.
    void cancelNotice();

    // A command that replaces the player's state: polls in flight become stale and an unsent
    // seek is dropped, so it cannot move the player afterwards.
    void beginCommand();
    // Shows a position and state that did not come from the player (the local transport's).
    void showLocal(double position, PlaybackState state);
    void reportControlError(const std::optional<QString>& error) { showControlError(error); }

signals:
    void changed();
    void snapshotChanged();
    void controlErrorChanged();
    void previewPositionChanged();
    void seekLockedChanged();
    void seekNoticeChanged();
    // A reply for another track (or the player opening or closing) was applied.
    void trackChanged();
    // Any reply was applied as the player's state; follows trackChanged.
    void applied();
    // The player answered a poll or a seek with an error.
    void controlFailed();
    // A user's seek to `seconds` passed the lock and is about to be queued.
    void seeking(double seconds);

private:
    struct PendingSeek {
        QString trackID;
        double position = 0;
    };

    void dropTrackState();
    void freezePosition();
    void showControlError(const std::optional<QString>& error);
    void showPreview(std::optional<double> position);
    bool localEngaged() const;
    void showLocalState();

    QCoro::Task<> pollLoop(TaskToken token);
    QCoro::Task<> runSeekQueue();
    QCoro::Task<> sendToggle(QString trackID);
    QCoro::Task<> clearNoticeLater(TaskToken token);

    std::shared_ptr<UptimeClock> clock_;
    std::function<double()> fallbackDuration_;

    MusicSnapshot snapshot_;
    std::optional<QString> controlError_;
    std::optional<double> previewPosition_;
    bool seekLocked_ = true;
    std::optional<QString> seekNotice_;

    std::unique_ptr<MusicController> controller_;
    LocalTransport* transport_ = nullptr;
    PlayerDirectory* players_;
    WorkspaceWatcher* observers_;
    std::optional<TaskToken> pollTask_;
    std::optional<TaskToken> noticeTask_;
    quint64 commandGeneration_ = 0;  // only grows; a poll reply older than the newest command is dropped
    double anchorTime_ = 0;          // uptime at which snapshot_.position was true
    bool seekTaskRunning_ = false;
    std::optional<PendingSeek> pendingSeek_;
    bool automationDenied_ = false;  // polling sends nothing until retry()
};

}  // namespace kelvara
