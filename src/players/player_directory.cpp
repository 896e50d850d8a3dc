// SPDX-License-Identifier: GPL-3.0-or-later
#include "player_directory.h"

#include "logging/log_categories.h"
#include "storage/settings.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>

#include <algorithm>

namespace kelvara {

namespace {

const QString busService = QStringLiteral("org.freedesktop.DBus");
const QString busPath = QStringLiteral("/org/freedesktop/DBus");
const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString identityProperty = QStringLiteral("Identity");
const QString statusProperty = QStringLiteral("PlaybackStatus");

QDBusMessage busCall(const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(busService, busPath, busService, method);
    message.setArguments(arguments);
    return message;
}

QString firstText(const QDBusMessage& reply) {
    const QVariant value = reply.arguments().value(0);
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant().toString() : value.toString();
}

}  // namespace

PlayerDirectory::PlayerDirectory(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {}

void PlayerDirectory::watch() {
    if (watching_) {
        return;
    }
    watching_ = true;
    if (!bus_.isConnected()) {
        loaded_ = true;
        emit loaded();
        return;
    }
    // Subscribed before listing, so a player that comes or goes meanwhile is not missed.
    // The D-Bus signal itself: QDBusConnectionInterface::serviceOwnerChanged is deprecated.
    bus_.connect(busService, busPath, busService, QStringLiteral("NameOwnerChanged"), this,
                 SLOT(nameOwnerChanged(QString, QString, QString)));
    bus_.connect(QString(), objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                 SLOT(propertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    listNames();
}

void PlayerDirectory::catchUp() {
    watch();
    QCoreApplication::processEvents();
    if (pendingCalls_ > 0) {
        // Every call has a time-out, so this ends.
        QEventLoop loop;
        connect(this, &PlayerDirectory::settled, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

template <typename Handler>
void PlayerDirectory::ask(QDBusMessage message, Handler handler) {
    // Asking must never start a player that is not running.
    message.setAutoStartService(false);
    ++pendingCalls_;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message, readTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, handler] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ReplyMessage) {
            handler(reply);
        } else {
            qCDebug(linkLog) << "D-Bus" << reply.errorName() << reply.errorMessage() << "while listing players";
        }
        if (--pendingCalls_ > 0) {
            return;
        }
        if (!loaded_) {
            loaded_ = true;
            emit loaded();
        }
        emit settled();
    });
}

void PlayerDirectory::listNames() {
    ask(busCall(QStringLiteral("ListNames")), [this](const QDBusMessage& reply) {
        for (const QString& name : reply.arguments().value(0).toStringList()) {
            if (MprisPlayer::isPlayerName(name)) {
                ask(busCall(QStringLiteral("GetNameOwner"), {name}),
                    [this, name](const QDBusMessage& owner) { addName(name, firstText(owner)); });
            }
        }
    });
}

void PlayerDirectory::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner) {
    if (!MprisPlayer::isPlayerName(name) || oldOwner == newOwner) {
        return;
    }
    if (!oldOwner.isEmpty()) {
        removeName(name, oldOwner);
    }
    if (!newOwner.isEmpty()) {
        addName(name, newOwner);
    }
}

void PlayerDirectory::addName(const QString& name, const QString& connection) {
    auto [entry, isNew] = players_.try_emplace(connection, MprisPlayer{connection, {}, {}, {}});
    QStringList& names = entry->second.busNames;
    if (names.contains(name)) {
        return;
    }
    names.append(name);
    names.sort();
    if (isNew) {
        readProperty(connection, rootInterface, identityProperty);
        readProperty(connection, playerInterface, statusProperty);
        emit playersChanged();
    }
    emit changed();
}

void PlayerDirectory::removeName(const QString& name, const QString& connection) {
    const auto entry = players_.find(connection);
    if (entry == players_.end() || !entry->second.busNames.removeOne(name)) {
        return;
    }
    if (entry->second.busNames.isEmpty()) {
        players_.erase(entry);
        if (followed_ == connection) {
            followed_.reset();
        }
        emit playersChanged();
    }
    emit changed();
}

void PlayerDirectory::readProperty(const QString& connection, const QString& interface, const QString& property) {
    QDBusMessage get = QDBusMessage::createMethodCall(connection, objectPath, propertiesInterface, QStringLiteral("Get"));
    get << interface << property;
    ask(get, [this, connection, property](const QDBusMessage& reply) {
        const QString value = firstText(reply);
        if (property == statusProperty) {
            noteStatus(connection, value);
        } else {
            setIdentity(connection, value);
        }
    });
}

void PlayerDirectory::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                        const QStringList& invalidated, const QDBusMessage& message) {
    if (interface != playerInterface || !players_.contains(message.service())) {
        return;
    }
    if (changed.contains(statusProperty)) {
        noteStatus(message.service(), changed.value(statusProperty).toString());
    } else if (invalidated.contains(statusProperty)) {
        readProperty(message.service(), playerInterface, statusProperty);
    }
}

void PlayerDirectory::setIdentity(const QString& connection, const QString& identity) {
    if (const auto entry = players_.find(connection); entry != players_.end() && entry->second.identity != identity) {
        entry->second.identity = identity;
        emit changed();
    }
}

void PlayerDirectory::noteStatus(const QString& connection, const QString& status) {
    const auto entry = players_.find(connection);
    if (entry == players_.end() || entry->second.status == status) {
        return;
    }
    const bool started = status == QLatin1String("Playing");
    // Switching is decided on the news as it comes; the first choice waits for the whole list.
    if (started && loaded_ && followed_ != connection && !followedIsPlaying()) {
        followed_ = connection;
    }
    entry->second.status = status;
    emit changed();
}

bool PlayerDirectory::followedIsPlaying() const {
    const auto entry = followed_ ? players_.find(*followed_) : players_.end();
    return entry != players_.end() && entry->second.playing();
}

std::vector<MprisPlayer> PlayerDirectory::players() const {
    std::vector<MprisPlayer> sorted;
    sorted.reserve(players_.size());
    for (const auto& entry : players_) {
        sorted.push_back(entry.second);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const MprisPlayer& a, const MprisPlayer& b) { return a.busName() < b.busName(); });
    return sorted;
}

std::optional<QString> PlayerDirectory::firstByStatus() const {
    const std::vector<MprisPlayer> sorted = players();
    for (const char* status : {"Playing", "Paused"}) {
        const auto found = std::find_if(sorted.begin(), sorted.end(),
                                        [&](const MprisPlayer& player) { return player.status == QLatin1String(status); });
        if (found != sorted.end()) {
            return found->connection;
        }
    }
    return sorted.empty() ? std::nullopt : std::optional(sorted.front().connection);
}

std::optional<MprisPlayer> PlayerDirectory::followed() {
    if (const std::optional<QString> chosen = Settings().musicPlayer()) {
        const auto named = std::find_if(players_.begin(), players_.end(),
                                        [&](const auto& entry) { return entry.second.answersTo(*chosen); });
        followed_ = named == players_.end() ? std::nullopt : std::optional(named->first);
    } else if (!followed_ || !players_.contains(*followed_)) {
        followed_ = firstByStatus();
    }
    return followed_ ? std::optional(players_.at(*followed_)) : std::nullopt;
}

}  // namespace kelvara
