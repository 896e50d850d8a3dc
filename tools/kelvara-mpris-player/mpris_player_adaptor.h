// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "stand_in_player.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>

namespace kelvara {

// org.mpris.MediaPlayer2.Player of the stand-in player. Every method call is recorded in
// the player's call list before it is carried out.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ yes)
    Q_PROPERTY(bool CanControl READ yes)

public:
    MprisPlayerAdaptor(QObject* parent, StandInPlayer& player);

    QString playbackStatus() const { return player_.playbackStatus(); }
    QVariantMap metadata() const { return player_.metadata(); }
    qlonglong position() const { return player_.position(); }
    double volume() const { return player_.volume(); }
    void setVolume(double volume);
    double one() const { return 1.0; }
    bool yes() const { return true; }

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString&) {}

signals:
    void Seeked(qlonglong position);

private:
    void announceChanges();

    StandInPlayer& player_;
};

}  // namespace kelvara
