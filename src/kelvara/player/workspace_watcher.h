// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoroTask>
#include <QDBusConnection>
#include <QObject>

#include <optional>

namespace kelvara {

class PlayerDirectory;

// What the desktop tells the playback link about the player: whether the followed one is on
// the session bus, and when a player appears or quits or the machine wakes (each restarts
// polling at once).
class WorkspaceWatcher : public QObject {
    Q_OBJECT
public:
    // `systemBus` absent or not connected means no sleep notices; that is not an error.
    WorkspaceWatcher(PlayerDirectory& players, std::optional<QDBusConnection> systemBus, QObject* parent = nullptr);

    // Starts listening. Idempotent.
    void watch();

    // Whether a player is followed now (see PlayerDirectory). Waits only for the directory's
    // first listing (started here if watch() was not called); never asks a player or the bridge.
    QCoro::Task<bool> playerRunning() const;

signals:
    void restartRequested();

private slots:
    void prepareForSleep(bool starting);

private:
    PlayerDirectory& players_;
    std::optional<QDBusConnection> systemBus_;
    bool watching_ = false;
};

}  // namespace kelvara
