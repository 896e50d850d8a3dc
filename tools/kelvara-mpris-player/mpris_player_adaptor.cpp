// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_player_adaptor.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace kelvara {

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, StandInPlayer& player)
    : QDBusAbstractAdaptor(parent), player_(player) {
    connect(&player_, &StandInPlayer::changed, this, &MprisPlayerAdaptor::announceChanges);
}

void MprisPlayerAdaptor::announceChanges() {
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/mpris/MediaPlayer2"),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player")
           << QVariantMap{{QStringLiteral("PlaybackStatus"), playbackStatus()},
                          {QStringLiteral("Metadata"), metadata()},
                          {QStringLiteral("Volume"), volume()}}
           << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisPlayerAdaptor::setVolume(double volume) {
    player_.record(QStringLiteral("Volume %1").arg(volume));
    player_.setVolume(volume);
}

void MprisPlayerAdaptor::Play() {
    player_.record(QStringLiteral("Play"));
    player_.play();
}

void MprisPlayerAdaptor::Pause() {
    player_.record(QStringLiteral("Pause"));
    player_.pause();
}

void MprisPlayerAdaptor::PlayPause() {
    player_.record(QStringLiteral("PlayPause"));
    player_.playPause();
}

void MprisPlayerAdaptor::Stop() {
    player_.record(QStringLiteral("Stop"));
    player_.stop();
}

void MprisPlayerAdaptor::Next() {
    player_.record(QStringLiteral("Next"));
    player_.next();
}

void MprisPlayerAdaptor::Previous() {
    player_.record(QStringLiteral("Previous"));
    player_.previous();
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    player_.record(QStringLiteral("Seek %1").arg(offset));
    player_.seek(offset);
    emit Seeked(player_.position());
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    player_.record(QStringLiteral("SetPosition %1 %2").arg(trackId.path()).arg(position));
    player_.setPosition(trackId, position);
    emit Seeked(player_.position());
}

}  // namespace kelvara
