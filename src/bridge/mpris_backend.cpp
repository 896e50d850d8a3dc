// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_backend.h"

#include "bridge_error.h"
#include "i18n/l.h"
#include "logging/log_categories.h"

#include <QDBusArgument>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int effectPolls = 100;  // × 1 ms: how long a command may take to show
constexpr double positionTolerance = 0.5;  // seconds; the position moves on while playing

QDBusMessage playerCall(const QString& service, const QString& interface, const char* method,
                        const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, objectPath, interface, QLatin1String(method));
    message.setArguments(arguments);
    return message;
}

BridgeError closedError() { return {LinkErrorCode::playerUnavailable, L("Music закрыта")}; }

BridgeError errorOf(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::AccessDenied:
        return {LinkErrorCode::automationDenied, L(error.message().toUtf8().constData())};
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return {LinkErrorCode::timedOut, L("Music не отвечает")};
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
        return closedError();
    default:
        if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            return closedError();
        }
        return {LinkErrorCode::unknown,
                error.message().isEmpty() ? L("Ошибка Apple Events") : L(error.message().toUtf8().constData())};
    }
}

qint64 microseconds(double seconds) {
    // Kept well inside 64 bits so the conversion below is always defined.
    constexpr double longest = 1e12;
    return std::llround(std::clamp(seconds, 0.0, longest) * 1e6);
}

// What the player should show once a command has taken effect.
struct CommandEffect {
    std::optional<PlaybackState> state;  // absent: unchanged by the command
    std::optional<double> position;      // absent: unchanged by the command
};

CommandEffect effectOf(const BridgeRequest& request, const MusicSnapshot& before) {
    const double target = std::max(request.position, 0.0);
    switch (request.action) {
    case BridgeAction::toggle:
        return {before.playing() ? PlaybackState::paused : PlaybackState::playing, std::nullopt};
    case BridgeAction::seek: return {std::nullopt, target};
    case BridgeAction::resumeAt: return {PlaybackState::playing, target};
    case BridgeAction::pauseAt: return {PlaybackState::paused, target};
    case BridgeAction::pause:
    case BridgeAction::snapshot: break;
    }
    return {PlaybackState::paused, std::nullopt};
}

bool shows(const MusicSnapshot& now, const CommandEffect& effect) {
    return (!effect.state || now.state == *effect.state) &&
           (!effect.position || std::abs(now.position - *effect.position) <= positionTolerance);
}

}  // namespace

MprisBackend::MprisBackend(QDBusConnection bus) : bus_(bus), directory_(std::move(bus)) {}

QDBusMessage MprisBackend::call(QDBusMessage message) {
    // A player that is not running must not be started by asking it something.
    message.setAutoStartService(false);
    QDBusMessage reply = bus_.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCDebug(linkLog) << "D-Bus" << message.member() << "on" << message.service() << "failed:" << reply.errorName()
                         << reply.errorMessage();
        throw errorOf(QDBusError(reply));
    }
    return reply;
}

void MprisBackend::beginRequest() {
    directory_.catchUp();
    player_ = directory_.followed();
}

MprisPlayerState MprisBackend::readPlayer(const MprisPlayer& player) {
    const QDBusMessage reply = call(playerCall(player.busName(), propertiesInterface, "GetAll", {playerInterface}));
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().value(0).value<QDBusArgument>());
    MprisPlayerState state = MprisPlayerState::fromProperties(properties);
    directory_.noteStatus(player.connection, properties.value(QStringLiteral("PlaybackStatus")).toString());
    return state;
}

MusicSnapshot MprisBackend::readStatus() {
    if (!player_) {
        return {};
    }
    try {
        return readPlayer(*player_).snapshot;
    } catch (const BridgeError& error) {
        // The player quit since the request began: it is simply not running.
        if (error.is(LinkErrorCode::playerUnavailable)) {
            return {};
        }
        throw;
    }
}

void MprisBackend::callPlayer(const MprisPlayer& player, const char* method, const QVariantList& arguments) {
    call(playerCall(player.busName(), playerInterface, method, arguments));
}

void MprisBackend::awaitEffect(const MprisPlayer& player, const BridgeRequest& request, const MusicSnapshot& before) {
    const CommandEffect effect = effectOf(request, before);
    for (int poll = 0; poll < effectPolls && !shows(readPlayer(player).snapshot, effect); ++poll) {
        QThread::msleep(1);
    }
}

void MprisBackend::runCommand(const BridgeRequest& request) {
    if (!player_) {
        throw closedError();
    }
    const MprisPlayer& player = *player_;
    const MprisPlayerState before = readPlayer(player);
    if (!before.hasTrack()) {
        throw BridgeError(LinkErrorCode::playerUnavailable, L("Нет текущего трека"));
    }
    if (before.snapshot.id.compare(request.trackID, Qt::CaseInsensitive) != 0) {
        throw BridgeError(LinkErrorCode::trackChanged, L("Трек уже сменился"));
    }

    const auto setPosition = [&] {
        callPlayer(player, "SetPosition", {before.trackObject, microseconds(request.position)});
    };
    switch (request.action) {
    case BridgeAction::toggle: callPlayer(player, "PlayPause"); break;
    case BridgeAction::seek: setPosition(); break;
    case BridgeAction::resumeAt:
        setPosition();
        callPlayer(player, "Play");
        break;
    case BridgeAction::pauseAt:
        callPlayer(player, "Pause");
        setPosition();
        break;
    case BridgeAction::pause:
    case BridgeAction::snapshot: callPlayer(player, "Pause"); break;
    }
    // Players apply a command a moment after answering it; the status read that follows
    // must already show its effect. A player that never shows it costs 100 ms, not an error.
    awaitEffect(player, request, before.snapshot);
}

}  // namespace kelvara
