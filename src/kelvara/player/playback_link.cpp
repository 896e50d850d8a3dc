// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/playback_link.h"

#include "i18n/l.h"
#include "models/bridge_request.h"
#include "models/performance_controls.h"
#include "models/timeline.h"
#include "player/local_transport.h"
#include "player/music_controller.h"
#include "player/workspace_watcher.h"
#include "player_directory.h"
#include "publish.h"
#include "storage/settings.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

using namespace std::chrono_literals;

constexpr auto playingPollInterval = 1s;
constexpr auto idlePollInterval = 2s;
constexpr auto noticeDuration = 2s;

}  // namespace

PlaybackLink::PlaybackLink(std::shared_ptr<UptimeClock> clock, const QString& bridgeExecutable,
                           const QDBusConnection& sessionBus, const std::optional<QDBusConnection>& systemBus,
                           std::function<double()> fallbackDuration, QObject* parent)
    : QObject(parent),
      clock_(std::move(clock)),
      fallbackDuration_(std::move(fallbackDuration)),
      seekLocked_(Settings().seekLocked()),
      controller_(std::make_unique<MusicController>(bridgeExecutable)),
      players_(new PlayerDirectory(sessionBus, this)),
      observers_(new WorkspaceWatcher(*players_, systemBus, this)),
      anchorTime_(clock_->now()) {
    connect(observers_, &WorkspaceWatcher::restartRequested, this, &PlaybackLink::restartPolling);
}

PlaybackLink::~PlaybackLink() {
    for (auto* task : {&pollTask_, &noticeTask_}) {
        if (*task) {
            (*task)->cancel();
        }
    }
}

void PlaybackLink::setSeekNotice(const std::optional<QString>& notice) {
    publish(*this, seekNotice_, notice, &PlaybackLink::seekNoticeChanged);
}

// Either way an unsent seek is dropped; turning the lock on also clears the notice.
void PlaybackLink::setSeekLocked(bool locked) {
    if (locked == seekLocked_) {
        return;
    }
    Settings().setSeekLocked(locked);
    pendingSeek_.reset();
    showPreview(std::nullopt);
    if (locked) {
        setSeekNotice(std::nullopt);
    }
    publish(*this, seekLocked_, locked, &PlaybackLink::seekLockedChanged);
}

// --- Derived values ----------------------------------------------------------------------

double PlaybackLink::position() const {
    if (previewPosition_) {
        return *previewPosition_;
    }
    if (localEngaged()) {
        return transport_->position();
    }
    return Timeline::position(snapshot_.position, clock_->now() - anchorTime_, snapshot_.playing(), duration());
}

double PlaybackLink::duration() const { return snapshot_.duration > 0 ? snapshot_.duration : fallbackDuration_(); }

bool PlaybackLink::localEngaged() const { return transport_ && transport_->engaged(); }

bool PlaybackLink::canControl() const { return snapshot_.running && !snapshot_.id.isEmpty() && !automationDenied_; }

// --- Polling -----------------------------------------------------------------------------

void PlaybackLink::start() {
    if (pollTask_) {
        return;
    }
    observers_->watch();
    restartPolling();
}

void PlaybackLink::restartPolling() {
    if (pollTask_) {
        pollTask_->cancel();
    }
    pollTask_ = TaskToken();
    pollLoop(*pollTask_);
}

QCoro::Task<> PlaybackLink::pollLoop(TaskToken token) {
    QPointer<PlaybackLink> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    while (self && !token.isCancelled()) {
        if (!automationDenied_) {
            co_await refresh();
            if (!self || token.isCancelled()) {
                co_return;
            }
        }
        const auto interval = snapshot_.playing() ? playingPollInterval : idlePollInterval;
        const bool slept = co_await clock->sleep(interval, token);
        if (!slept) {
            co_return;
        }
    }
}

QCoro::Task<> PlaybackLink::refresh() {
    if (seekTaskRunning_) {
        co_return;
    }
    QPointer<PlaybackLink> self(this);
    const quint64 generation = commandGeneration_;
    const std::optional<TaskToken> poll = pollTask_;
    // A command or a restart of polling during an await makes what this refresh learnt stale.
    const auto stale = [&] { return !self || (poll && poll->isCancelled()) || commandGeneration_ != generation; };

    const bool playerRunning = co_await observers_->playerRunning();
    if (stale()) {
        co_return;
    }
    if (!playerRunning) {
        apply(MusicSnapshot{});
        co_return;
    }
    const MusicSnapshot reply = co_await controller_->request(BridgeRequest::snapshot());
    if (stale()) {
        co_return;
    }
    if (reply.error) {
        emit controlFailed();
        showControlError(reply.error);
        automationDenied_ = reply.failedWith(LinkErrorCode::automationDenied);
        freezePosition();
        co_return;
    }
    showControlError(std::nullopt);
    apply(reply);
}

// An error reply never replaces what is known about the track; the position stops where it got to.
void PlaybackLink::freezePosition() {
    MusicSnapshot frozen = snapshot_;
    frozen.position = position();
    frozen.state = PlaybackState::paused;
    anchorTime_ = clock_->now();
    publish(*this, snapshot_, frozen, &PlaybackLink::snapshotChanged);
}

void PlaybackLink::showPreview(std::optional<double> position) {
    publish(*this, previewPosition_, position, &PlaybackLink::previewPositionChanged);
}

void PlaybackLink::showControlError(const std::optional<QString>& error) {
    publish(*this, controlError_, error, &PlaybackLink::controlErrorChanged);
}

void PlaybackLink::retry() {
    automationDenied_ = false;
    showControlError(std::nullopt);
    restartPolling();
}

// --- Applying a reply ----------------------------------------------------------------------

void PlaybackLink::apply(const MusicSnapshot& next) {
    const bool changed = snapshot_.id != next.id || snapshot_.path != next.path || snapshot_.running != next.running;
    MusicSnapshot shown = next;
    if (transport_) {
        transport_->playerReplied(next, changed);
        if (transport_->engaged()) {
            transport_->overlay(shown);
        }
    }
    anchorTime_ = clock_->now();
    publish(*this, snapshot_, std::move(shown), &PlaybackLink::snapshotChanged);
    if (changed) {
        dropTrackState();
        emit trackChanged();
    }
    emit applied();
}

void PlaybackLink::dropTrackState() {
    setSeekNotice(std::nullopt);
    showPreview(std::nullopt);
    pendingSeek_.reset();
}

// --- Seeking and transport ------------------------------------------------------------------

void PlaybackLink::seek(double seconds) {
    if (!canControl() || duration() <= 0) {
        return;
    }
    if (!PerformanceControls::maySeek(seekLocked_)) {
        indicateSeekLock();
        return;
    }
    emit seeking(seconds);
    enqueueSeek(seconds);
}

void PlaybackLink::enqueueSeek(double seconds) {
    if (!canControl() || duration() <= 0 || !PerformanceControls::maySeek(seekLocked_) || !std::isfinite(seconds)) {
        return;
    }
    const double target = std::clamp(seconds, 0.0, duration());
    if (localEngaged()) {
        transport_->seek(target);
        showPreview(std::nullopt);
        showLocalState();
        return;
    }
    showPreview(target);
    pendingSeek_ = PendingSeek{snapshot_.id, target};
    ++commandGeneration_;
    if (!seekTaskRunning_) {
        seekTaskRunning_ = true;
        runSeekQueue();
    }
}

// One seek in flight and at most one waiting: targets passed over by a fast drag are never sent.
QCoro::Task<> PlaybackLink::runSeekQueue() {
    QPointer<PlaybackLink> self(this);
    while (pendingSeek_) {
        const PendingSeek seek = *std::exchange(pendingSeek_, std::nullopt);
        const BridgeRequest request{BridgeAction::seek, seek.trackID, seek.position};
        const MusicSnapshot reply = co_await controller_->request(request);
        if (!self) {
            co_return;
        }
        if (reply.error) {
            showControlError(reply.error);
            emit controlFailed();
        } else if (!pendingSeek_) {
            apply(reply);
        }
    }
    showPreview(std::nullopt);
    seekTaskRunning_ = false;
}

void PlaybackLink::togglePlayback() {
    if (!canControl()) {
        return;
    }
    if (localEngaged()) {
        transport_->togglePlayback();
        showLocalState();
        return;
    }
    ++commandGeneration_;
    sendToggle(snapshot_.id);
}

void PlaybackLink::beginCommand() {
    ++commandGeneration_;
    pendingSeek_.reset();
    showPreview(std::nullopt);
}

void PlaybackLink::showLocal(double position, PlaybackState state) {
    MusicSnapshot shown = snapshot_;
    shown.position = position;
    shown.state = state;
    anchorTime_ = clock_->now();
    publish(*this, snapshot_, std::move(shown), &PlaybackLink::snapshotChanged);
}

void PlaybackLink::showLocalState() {
    showLocal(transport_->position(), transport_->playing() ? PlaybackState::playing : PlaybackState::paused);
}

QCoro::Task<> PlaybackLink::sendToggle(QString trackID) {
    QPointer<PlaybackLink> self(this);
    const BridgeRequest request{BridgeAction::toggle, trackID, 0};
    const MusicSnapshot reply = co_await controller_->request(request);
    if (!self) {
        co_return;
    }
    if (reply.error) {
        showControlError(reply.error);
    } else {
        apply(reply);
    }
}

void PlaybackLink::indicateSeekLock() {
    setSeekNotice(L("Перемотка выключена · снимите замок"));
    cancelNotice();
    noticeTask_ = TaskToken();
    clearNoticeLater(*noticeTask_);
}

void PlaybackLink::cancelNotice() {
    if (noticeTask_) {
        noticeTask_->cancel();
        noticeTask_.reset();
    }
}

QCoro::Task<> PlaybackLink::clearNoticeLater(TaskToken token) {
    QPointer<PlaybackLink> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    const bool slept = co_await clock->sleep(noticeDuration, token);
    if (slept && self) {
        setSeekNotice(std::nullopt);
    }
}

}  // namespace kelvara
