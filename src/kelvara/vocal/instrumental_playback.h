// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "uptime_clock.h"

#include <QAudioOutput>
#include <QCoroTask>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace kelvara {

// One instrumental file played by the program (Qt Multimedia), on the main thread. Positions
// and the duration are in seconds; the position never passes the duration.
class InstrumentalPlayback : public QObject {
    Q_OBJECT

public:
    explicit InstrumentalPlayback(QObject* parent = nullptr);

    // Loads `path` until it can play; false when it cannot be played or does not load in time.
    QCoro::Task<bool> open(QString path, std::shared_ptr<UptimeClock> clock);

    double duration() const;
    double position() const;
    bool playing() const;

    // Starts playing; false when the player refused.
    bool play();
    void pause();
    void setPosition(double seconds);
    void setVolume(double volume);  // 0…1

signals:
    // Played to its end.
    void finished();
    // Playback broke off (an error, or the file ended before its length); position() stays
    // where it had got to.
    void failed(const QString& error);

private:
    void followStatus(QMediaPlayer::MediaStatus status);
    void reportError(QMediaPlayer::Error error, const QString& text);
    void breakOff(double position, const QString& error);

    QMediaPlayer player_;
    QAudioOutput output_;
    double lastPosition_ = 0;  // the position before an error resets the player's
    // While paused: where. A paused pipeline reports the position it last started from.
    std::optional<double> heldAt_;
    bool failed_ = false;
};

}  // namespace kelvara
