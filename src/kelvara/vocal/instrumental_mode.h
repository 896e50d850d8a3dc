// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/local_transport.h"
#include "uptime_clock.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kelvara {

class InstrumentalPlayback;
class PlaybackLink;
class VocalPreparation;

// Instrumental mode, on the main thread: the player is paused and the program plays the
// prepared instrumental from the player's position, and hands playback back at the
// instrumental's position when asked, when it ends or fails, and before the program quits.
// The player taking over by itself (playing, moved, another track) ends the mode silently.
// One switch at a time: toggles and restores during a switch are ignored, a quit waits.
class InstrumentalMode : public QObject, public LocalTransport {
    Q_OBJECT
    Q_PROPERTY(bool vocalActive READ vocalActive NOTIFY vocalActiveChanged)
    Q_PROPERTY(bool vocalSwitching READ vocalSwitching NOTIFY vocalSwitchingChanged)

public:
    // A move of the paused player by more than this means the user took it back.
    static constexpr double takeOverDistance = 0.5;

    // `stopLoop` ends the loop when the instrumental ends.
    InstrumentalMode(PlaybackLink& playback, VocalPreparation& preparation, std::shared_ptr<UptimeClock> clock,
                     std::function<void()> stopLoop, QObject* parent = nullptr);
    ~InstrumentalMode() override;

    bool vocalActive() const { return active_; }
    bool vocalSwitching() const { return switching_; }

    // Pauses the player and plays the prepared instrumental from its position (paused, if the
    // player was). Needs a prepared instrumental and no switch running.
    QCoro::Task<> switchIn();
    // Leaves the mode; the player resumes if `resuming`, or when absent if the instrumental plays.
    QCoro::Task<> restoreMusic(std::optional<bool> resuming = std::nullopt);
    // Stops the preparation, waits for a running switch, then hands playback back.
    QCoro::Task<> prepareToQuit();

    // LocalTransport.
    bool engaged() const override;
    double position() const override;
    bool playing() const override;
    void seek(double seconds) override;
    void togglePlayback() override;
    void playerReplied(const MusicSnapshot& next, bool trackChanged) override;
    void overlay(MusicSnapshot& shown) override;

signals:
    void changed();
    void vocalActiveChanged();
    void vocalSwitchingChanged();

private:
    QCoro::Task<bool> startPlaying(const QString& trackID, const MusicSnapshot& paused, bool wasPlaying);
    void fail(const QString& error);
    void dropPlayer();
    void instrumentalEnded();
    void instrumentalFailed(const QString& error);
    void setActive(bool active);
    void setSwitching(bool switching);

    PlaybackLink& playback_;
    VocalPreparation& preparation_;
    std::shared_ptr<UptimeClock> clock_;
    std::function<void()> stopLoop_;
    std::unique_ptr<InstrumentalPlayback> player_;
    bool active_ = false;
    bool switching_ = false;
    bool ended_ = false;         // played to its end: the position is the duration
    double musicPausedAt_ = 0;   // the player's position when it was paused for the instrumental
};

}  // namespace kelvara
