// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>
#include <vector>

namespace kelvara {

// One MPRIS player on the session bus.
struct MprisPlayer {
    QString busName;   // org.mpris.MediaPlayer2.<suffix>
    QString identity;  // the player's own name, e.g. "mpv Media Player"
    QString status;    // PlaybackStatus: "Playing", "Paused", "Stopped"

    QString suffix() const;
};

// The MPRIS players the user can choose to follow (the choice is Settings::musicPlayer) and
// bringing the followed player forward.
class PlayerDirectory {
public:
    static constexpr const char* prefix = "org.mpris.MediaPlayer2.";
    static constexpr int callTimeoutMs = 500;

    explicit PlayerDirectory(QDBusConnection bus = QDBusConnection::sessionBus()) : bus_(std::move(bus)) {}

    // Sorted by bus name.
    std::vector<MprisPlayer> players() const;

    // The player the link follows: the chosen one, else the first playing, else the first
    // paused, else the first one.
    std::optional<MprisPlayer> followed() const;

    // Raises the followed player's window; with no player running, starts the desktop's
    // default audio player. Nothing waits for either.
    void showPlayer() const;

private:
    QVariant property(const QString& busName, const QString& interface, const QString& name) const;

    QDBusConnection bus_;
};

}  // namespace kelvara
