// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_player_state.h"

#include <QCryptographicHash>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <optional>

namespace kelvara {

namespace {

constexpr double microsecondsPerSecond = 1e6;
const QString noTrackPath = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// A nested a{sv} arrives still marshalled inside its variant.
QVariantMap mapOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    }
    return value.toMap();
}

std::optional<QString> textOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QString>()) {
        return value.toString();
    }
    return std::nullopt;
}

std::optional<double> numberOf(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double: {
        const double number = value.toDouble();
        return std::isfinite(number) ? std::optional(number) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// xesam:artist is a list of names; some players send a single string.
QString artistOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QStringList>()) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return textOf(value).value_or(QString());
}

QString trackIdText(const QVariant& trackObject) {
    if (trackObject.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
        return trackObject.value<QDBusObjectPath>().path();
    }
    return textOf(trackObject).value_or(QString());
}

double secondsOf(const QVariant& microseconds) {
    return std::max(numberOf(microseconds).value_or(0) / microsecondsPerSecond, 0.0);
}

}  // namespace

QString MprisPlayerState::persistentId(const QString& url, const QString& trackId, const QString& title,
                                       const QString& artist) {
    const QString key = url.isEmpty() ? trackId + QLatin1Char('\n') + title + QLatin1Char('\n') + artist : url;
    return QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).left(8).toHex());
}

MprisPlayerState MprisPlayerState::fromProperties(const QVariantMap& properties) {
    MprisPlayerState state;
    MusicSnapshot& snapshot = state.snapshot;
    snapshot.running = true;
    if (const auto status = textOf(properties.value(QStringLiteral("PlaybackStatus")))) {
        snapshot.state = playbackStateNamed(status->toLower());
    }

    const QVariantMap metadata = mapOf(properties.value(QStringLiteral("Metadata")));
    const QString url = textOf(metadata.value(QStringLiteral("xesam:url"))).value_or(QString());
    const QString title = textOf(metadata.value(QStringLiteral("xesam:title"))).value_or(QString());
    state.trackObject = metadata.value(QStringLiteral("mpris:trackid"));
    const QString trackId = trackIdText(state.trackObject);
    // An idle player still sends a trackid ("/noplaylist" from mpv) but nothing to play.
    if ((url.isEmpty() && title.isEmpty()) || trackId == noTrackPath) {
        return state;
    }

    snapshot.title = title;
    snapshot.artist = artistOf(metadata.value(QStringLiteral("xesam:artist")));
    snapshot.album = textOf(metadata.value(QStringLiteral("xesam:album"))).value_or(QString());
    snapshot.id = persistentId(url, trackId, title, snapshot.artist);
    const QUrl location(url);
    snapshot.path = location.isLocalFile() ? location.toLocalFile() : QString();
    snapshot.duration = secondsOf(metadata.value(QStringLiteral("mpris:length")));
    // Players report a negative position for a moment after a seek or a track change.
    snapshot.position = secondsOf(properties.value(QStringLiteral("Position")));
    if (const auto volume = numberOf(properties.value(QStringLiteral("Volume")))) {
        snapshot.volume = std::clamp(*volume * 100, 0.0, 100.0);
    }
    return state;
}

}  // namespace kelvara
