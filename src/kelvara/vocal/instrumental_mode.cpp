// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/instrumental_mode.h"

#include "i18n/l.h"
#include "models/bridge_request.h"
#include "player/music_controller.h"
#include "player/playback_link.h"
#include "publish.h"
#include "task_token.h"
#include "vocal/instrumental_playback.h"
#include "vocal/vocal_preparation.h"

#include <QPointer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kelvara {

namespace {

using namespace std::chrono_literals;

constexpr auto switchPollInterval = 50ms;

double playerVolume(const MusicSnapshot& snapshot) { return snapshot.muted ? 0 : snapshot.volume / 100; }

}  // namespace

InstrumentalMode::InstrumentalMode(PlaybackLink& playback, VocalPreparation& preparation,
                                   std::shared_ptr<UptimeClock> clock, std::function<void()> stopLoop, QObject* parent)
    : QObject(parent),
      playback_(playback),
      preparation_(preparation),
      clock_(std::move(clock)),
      stopLoop_(std::move(stopLoop)) {}

InstrumentalMode::~InstrumentalMode() = default;

void InstrumentalMode::setActive(bool active) {
    publish(*this, active_, active, &InstrumentalMode::vocalActiveChanged);
}

void InstrumentalMode::setSwitching(bool switching) {
    publish(*this, switching_, switching, &InstrumentalMode::vocalSwitchingChanged);
}

// --- Switching in ---------------------------------------------------------------------------

QCoro::Task<> InstrumentalMode::switchIn() {
    if (switching_ || active_ || !preparation_.instrumental()) {
        co_return;
    }
    QPointer<InstrumentalMode> self(this);
    const QString trackID = playback_.snapshot().id;
    setSwitching(true);
    playback_.beginCommand();

    auto player = std::make_unique<InstrumentalPlayback>();
    const bool opened = co_await player->open(*preparation_.instrumental(), clock_);
    if (!self) {
        co_return;
    }
    if (!opened) {
        fail(L("Не удалось открыть инструментал"));
        co_return;
    }
    // Requests are named before the await: g++ 12 mishandles temporaries in a co_await operand.
    const BridgeRequest pause{BridgeAction::pause, trackID, 0};
    const MusicSnapshot paused = co_await playback_.controller().request(pause);
    if (!self) {
        co_return;
    }
    if (paused.error) {
        fail(*paused.error);
        co_return;
    }
    if (paused.id != trackID) {
        fail(L("Трек уже сменился"));
        co_return;
    }
    // The reply already says "paused": whether the player was playing is what we showed before it.
    const bool wasPlaying = playback_.snapshot().playing();
    musicPausedAt_ = paused.position;
    player->setPosition(std::min(paused.position, player->duration()));
    player->setVolume(playerVolume(paused));
    connect(player.get(), &InstrumentalPlayback::finished, this, &InstrumentalMode::instrumentalEnded);
    connect(player.get(), &InstrumentalPlayback::failed, this, &InstrumentalMode::instrumentalFailed);
    player_ = std::move(player);
    ended_ = false;
    setActive(true);
    const bool started = co_await startPlaying(trackID, paused, wasPlaying);
    if (!self || !started) {
        co_return;
    }
    playback_.apply(paused);
    setSwitching(false);
}

// A player that paused for an instrumental that will not start is asked to resume first.
QCoro::Task<bool> InstrumentalMode::startPlaying(const QString& trackID, const MusicSnapshot& paused, bool wasPlaying) {
    if (!wasPlaying || player_->play()) {
        co_return true;
    }
    QPointer<InstrumentalMode> self(this);
    dropPlayer();
    const BridgeRequest resume{BridgeAction::resumeAt, trackID, paused.position};
    const MusicSnapshot resumed = co_await playback_.controller().request(resume);
    if (self) {
        if (!resumed.error) {
            playback_.apply(resumed);
        }
        fail(L("Не удалось запустить инструментал"));
    }
    co_return false;
}

void InstrumentalMode::fail(const QString& error) {
    preparation_.setStatus(error);
    playback_.reportControlError(error);
    setSwitching(false);
}

void InstrumentalMode::dropPlayer() {
    if (player_) {
        player_->pause();
        // The player may be the sender of the signal that got us here.
        player_.release()->deleteLater();
    }
    ended_ = false;
    setActive(false);
}

// --- Handing back ---------------------------------------------------------------------------

QCoro::Task<> InstrumentalMode::restoreMusic(std::optional<bool> resuming) {
    if (!active_ || !player_ || switching_) {
        co_return;
    }
    QPointer<InstrumentalMode> self(this);
    setSwitching(true);
    playback_.beginCommand();
    const QString trackID = playback_.snapshot().id;
    const double position = this->position();
    const bool resume = resuming.value_or(player_->playing());
    player_->pause();
    const BridgeRequest handBack{resume ? BridgeAction::resumeAt : BridgeAction::pauseAt, trackID, position};
    const MusicSnapshot reply = co_await playback_.controller().request(handBack);
    if (!self) {
        co_return;
    }
    dropPlayer();
    setSwitching(false);
    if (reply.error) {
        playback_.reportControlError(reply.error);
        playback_.showLocal(position, PlaybackState::paused);
        co_return;
    }
    playback_.apply(reply);
}

QCoro::Task<> InstrumentalMode::prepareToQuit() {
    QPointer<InstrumentalMode> self(this);
    preparation_.cancel();
    const std::shared_ptr<UptimeClock> clock = clock_;
    while (self && switching_) {
        co_await clock->sleep(switchPollInterval, TaskToken());
    }
    if (self) {
        co_await restoreMusic();
    }
}

// The player goes on from where the instrumental ended, without the loop that would pull it back.
void InstrumentalMode::instrumentalEnded() {
    ended_ = true;
    playback_.showLocal(position(), PlaybackState::paused);
    stopLoop_();
    restoreMusic(true);
}

// A broken instrumental is not an ended one: the player takes over where it broke off.
void InstrumentalMode::instrumentalFailed(const QString& error) {
    const QString text = error.isEmpty() ? L("Не удалось запустить инструментал") : error;
    preparation_.setStatus(text);
    restoreMusic(true);
    playback_.reportControlError(text);
}

// --- While engaged --------------------------------------------------------------------------

bool InstrumentalMode::engaged() const { return active_ && player_; }

double InstrumentalMode::position() const {
    if (!player_) {
        return 0;
    }
    return ended_ ? player_->duration() : player_->position();
}

bool InstrumentalMode::playing() const { return player_ && player_->playing(); }

void InstrumentalMode::seek(double seconds) {
    player_->setPosition(std::clamp(seconds, 0.0, player_->duration()));
    ended_ = false;
}

void InstrumentalMode::togglePlayback() {
    if (player_->playing()) {
        player_->pause();
        return;
    }
    if (ended_) {
        player_->setPosition(0);
        ended_ = false;
    }
    player_->play();
}

// Whoever plays the player, moves it or changes its track has taken the music back.
void InstrumentalMode::playerReplied(const MusicSnapshot& next, bool trackChanged) {
    if (!engaged() || switching_) {
        return;
    }
    if (trackChanged || next.playing() || std::abs(next.position - musicPausedAt_) > takeOverDistance) {
        dropPlayer();
    }
}

void InstrumentalMode::overlay(MusicSnapshot& shown) {
    player_->setVolume(playerVolume(shown));
    shown.position = position();
    shown.state = player_->playing() ? PlaybackState::playing : PlaybackState::paused;
}

}  // namespace kelvara
