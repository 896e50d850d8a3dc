// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mpris_player_state.h"
#include "player_backend.h"
#include "player_directory.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <optional>

namespace kelvara {

// The music player is the MPRIS2 player on the session bus that PlayerDirectory says is
// followed. Only that player is asked anything; what the others do comes from the
// directory, so a hung player that is not followed costs nothing.
class MprisBackend final : public PlayerBackend {
public:
    static constexpr int callTimeoutMs = 3000;

    explicit MprisBackend(QDBusConnection bus = QDBusConnection::sessionBus());

    void beginRequest() override;
    MusicSnapshot readStatus() override;
    void runCommand(const BridgeRequest& request) override;

private:
    MprisPlayerState readPlayer(const MprisPlayer& player);
    void callPlayer(const MprisPlayer& player, const char* method, const QVariantList& arguments = {});
    void awaitEffect(const MprisPlayer& player, const BridgeRequest& request, const MusicSnapshot& before);
    QDBusMessage call(QDBusMessage message);

    QDBusConnection bus_;
    PlayerDirectory directory_;
    std::optional<MprisPlayer> player_;  // followed for the request being answered
};

}  // namespace kelvara
