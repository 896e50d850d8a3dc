// SPDX-License-Identifier: GPL-3.0-or-later
#include "stand_in_player.h"

#include <algorithm>

namespace kelvara {

StandInPlayer::StandInPlayer(QList<StandInTrack> tracks, QString status, double volume)
    : tracks_(std::move(tracks)), status_(std::move(status)), volume_(volume) {
    clock_.start();
    if (!hasTrack()) {
        status_ = QStringLiteral("Stopped");
    }
}

QVariantMap StandInPlayer::metadata() const {
    if (!hasTrack()) {
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    }
    const StandInTrack& track = tracks_[current_];
    const QJsonObject& description = track.description;
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(track.trackId)}};
    for (const char* key : {"url", "title", "album"}) {
        if (description.contains(QLatin1String(key))) {
            metadata.insert(QStringLiteral("xesam:") + QLatin1String(key), description.value(QLatin1String(key)).toString());
        }
    }
    if (description.contains(QStringLiteral("artist"))) {
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{description.value(QStringLiteral("artist")).toString()});
    }
    if (const QJsonValue length = description.value(QStringLiteral("length")); length.isDouble()) {
        metadata.insert(QStringLiteral("mpris:length"), qlonglong(length.toDouble() * 1e6));
    } else if (!length.isUndefined()) {
        metadata.insert(QStringLiteral("mpris:length"), length.toVariant());
    }
    return metadata;
}

qint64 StandInPlayer::length() const {
    const QJsonValue length = hasTrack() ? tracks_[current_].description.value(QStringLiteral("length")) : QJsonValue();
    return length.isDouble() ? qint64(length.toDouble() * 1e6) : 0;
}

qint64 StandInPlayer::position() const {
    const qint64 elapsed = status_ == QLatin1String("Playing") ? clock_.nsecsElapsed() / 1000 : 0;
    const qint64 position = anchor_ + elapsed;
    return length() > 0 ? std::min(position, length()) : position;
}

void StandInPlayer::moveTo(qint64 position) {
    anchor_ = std::max<qint64>(position, 0);
    clock_.restart();
    emit changed();
}

void StandInPlayer::setStatus(const QString& status) {
    const qint64 now = position();
    status_ = hasTrack() ? status : QStringLiteral("Stopped");
    moveTo(now);
}

void StandInPlayer::play() { setStatus(QStringLiteral("Playing")); }
void StandInPlayer::pause() { setStatus(QStringLiteral("Paused")); }
void StandInPlayer::stop() { setStatus(QStringLiteral("Stopped")); }

void StandInPlayer::playPause() {
    setStatus(status_ == QLatin1String("Playing") ? QStringLiteral("Paused") : QStringLiteral("Playing"));
}

void StandInPlayer::selectTrack(int index) {
    current_ = std::clamp(index, 0, int(tracks_.size()));
    moveTo(0);
    if (!hasTrack()) {
        stop();
    }
}

void StandInPlayer::next() { selectTrack(current_ + 1); }
void StandInPlayer::previous() { selectTrack(current_ - 1); }

void StandInPlayer::seek(qint64 offset) { moveTo(position() + offset); }

void StandInPlayer::setPosition(const QDBusObjectPath& trackId, qint64 position) {
    // As MPRIS asks: a stale track or a position outside the track changes nothing.
    if (hasTrack() && trackId == tracks_[current_].trackId && position >= 0 &&
        (length() == 0 || position <= length())) {
        moveTo(position);
    }
}

void StandInPlayer::setVolume(double volume) {
    volume_ = volume;
    emit changed();
}

}  // namespace kelvara
