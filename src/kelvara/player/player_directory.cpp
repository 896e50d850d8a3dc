// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/player_directory.h"

#include "logging/log_categories.h"
#include "storage/settings.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace kelvara {

namespace {

const QString mprisInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// The Exec line of a desktop entry without its field codes, split into program and arguments.
QStringList desktopCommand(const QString& desktopId) {
    QFile file(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Exec="))) {
            QStringList words = QProcess::splitCommand(line.mid(5));
            words.removeIf([](const QString& word) { return word.size() == 2 && word.startsWith(QLatin1Char('%')); });
            return words;
        }
    }
    return {};
}

// Asks the desktop for its audio player and starts it, without waiting on the answer.
void startDefaultAudioPlayer() {
    auto* query = new QProcess;
    QObject::connect(query, &QProcess::finished, query, [query] {
        const QStringList command = desktopCommand(QString::fromUtf8(query->readAllStandardOutput()).trimmed());
        if (!command.isEmpty()) {
            QProcess::startDetached(command.first(), command.mid(1));
        }
        query->deleteLater();
    });
    QObject::connect(query, &QProcess::errorOccurred, query, [query] {
        qCDebug(windowLog) << "cannot ask xdg-mime for the audio player:" << query->errorString();
        query->deleteLater();
    });
    query->start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("audio/mpeg")});
}

}  // namespace

QString MprisPlayer::suffix() const { return busName.mid(static_cast<qsizetype>(qstrlen(PlayerDirectory::prefix))); }

QVariant PlayerDirectory::property(const QString& busName, const QString& interface, const QString& name) const {
    QDBusMessage call = QDBusMessage::createMethodCall(busName, QStringLiteral("/org/mpris/MediaPlayer2"),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call.setAutoStartService(false);
    call << interface << name;
    const QDBusReply<QDBusVariant> reply = bus_.call(call, QDBus::Block, callTimeoutMs);
    if (!reply.isValid()) {
        qCDebug(windowLog) << "cannot read" << name << "of" << busName << ":" << reply.error().name()
                           << reply.error().message();
        return {};
    }
    return reply.value().variant();
}

std::vector<MprisPlayer> PlayerDirectory::players() const {
    std::vector<MprisPlayer> result;
    if (!bus_.isConnected() || !bus_.interface()) {
        return result;
    }
    QStringList names = bus_.interface()->registeredServiceNames().value();
    names.sort();
    for (const QString& name : std::as_const(names)) {
        if (!name.startsWith(QLatin1String(prefix))) {
            continue;
        }
        MprisPlayer player{name, property(name, mprisInterface, QStringLiteral("Identity")).toString(),
                           property(name, playerInterface, QStringLiteral("PlaybackStatus")).toString()};
        if (player.identity.isEmpty()) {
            player.identity = player.suffix();
        }
        result.push_back(player);
    }
    return result;
}

std::optional<MprisPlayer> PlayerDirectory::followed() const {
    const std::vector<MprisPlayer> all = players();
    const auto find = [&all](auto matches) -> std::optional<MprisPlayer> {
        const auto found = std::find_if(all.begin(), all.end(), matches);
        return found == all.end() ? std::nullopt : std::optional(*found);
    };
    if (const auto chosen = Settings().musicPlayer()) {
        return find([&](const MprisPlayer& p) { return p.suffix() == *chosen; });
    }
    for (const char* status : {"Playing", "Paused"}) {
        if (auto player = find([&](const MprisPlayer& p) { return p.status == QLatin1String(status); })) {
            return player;
        }
    }
    return all.empty() ? std::nullopt : std::optional(all.front());
}

void PlayerDirectory::showPlayer() const {
    if (const auto player = followed()) {
        QDBusMessage raise = QDBusMessage::createMethodCall(player->busName, QStringLiteral("/org/mpris/MediaPlayer2"),
                                                            mprisInterface, QStringLiteral("Raise"));
        raise.setAutoStartService(false);
        bus_.asyncCall(raise, callTimeoutMs);
        return;
    }
    startDefaultAudioPlayer();
}

}  // namespace kelvara
