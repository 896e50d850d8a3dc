// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/show_player.h"

#include "logging/log_categories.h"
#include "player_directory.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace kelvara {

namespace {

constexpr int raiseTimeoutMs = 500;

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

void showPlayer(PlayerDirectory& directory) {
    const std::optional<MprisPlayer> player = directory.followed();
    if (!player) {
        startDefaultAudioPlayer();
        return;
    }
    QDBusMessage raise = QDBusMessage::createMethodCall(player->busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                                        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
    raise.setAutoStartService(false);
    directory.bus().asyncCall(raise, raiseTimeoutMs);
}

}  // namespace kelvara
