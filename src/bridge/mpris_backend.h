// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mpris_player_state.h"
#include "player_backend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <optional>

namespace kelvara {

// The music player is an MPRIS2 player on the session bus. The one followed is the player
// the user named in Settings::musicPlayer (the bus name after org.mpris.MediaPlayer2.),
// else the first playing one, else the first paused one, else the first (bus names sorted).
class MprisBackend final : public PlayerBackend {
public:
    static constexpr int callTimeoutMs = 3000;

    explicit MprisBackend(QDBusConnection bus = QDBusConnection::sessionBus());

    MusicSnapshot readStatus() override;
    void runCommand(const BridgeRequest& request) override;

private:
    std::optional<QString> followedPlayer();
    QStringList runningPlayers();
    QString firstPlayerByStatus(const QStringList& players);
    MprisPlayerState readPlayer(const QString& service);
    void callPlayer(const QString& service, const char* method, const QVariantList& arguments = {});
    void awaitEffect(const QString& service, const BridgeRequest& request, const MusicSnapshot& before);
    QDBusMessage call(QDBusMessage message);

    QDBusConnection bus_;
};

}  // namespace kelvara
