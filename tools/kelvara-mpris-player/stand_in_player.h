// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace kelvara {

// A track as described on the command line: {"url", "title", "artist", "album", "length",
// "trackid"}, each optional. A numeric length is in seconds; any other JSON value is sent
// as it is, so tests can give a player that reports a length of the wrong type.
struct StandInTrack {
    QJsonObject description;
    QDBusObjectPath trackId;
};

// The state of the stand-in player. Positions are in microseconds as MPRIS counts them;
// the position advances in real time while playing and stops at the track's length.
class StandInPlayer : public QObject {
    Q_OBJECT
public:
    StandInPlayer(QList<StandInTrack> tracks, QString status, double volume);

    QString playbackStatus() const { return status_; }
    QVariantMap metadata() const;
    qint64 position() const;
    double volume() const { return volume_; }
    int trackIndex() const { return current_; }
    // The MPRIS methods called so far, for tests that check what reached the player.
    const QStringList& calls() const { return calls_; }

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seek(qint64 offset);
    void setPosition(const QDBusObjectPath& trackId, qint64 position);
    void setVolume(double volume);
    void setStatus(const QString& status);
    void selectTrack(int index);
    void record(const QString& call) { calls_.append(call); }

signals:
    void changed();

private:
    bool hasTrack() const { return current_ >= 0 && current_ < tracks_.size(); }
    qint64 length() const;  // 0 when unknown
    void moveTo(qint64 position);

    QList<StandInTrack> tracks_;
    int current_ = 0;
    QString status_;
    double volume_;
    qint64 anchor_ = 0;     // position when the clock was last restarted
    QElapsedTimer clock_;   // running while playing
    QStringList calls_;
};

}  // namespace kelvara
