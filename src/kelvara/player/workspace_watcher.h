// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoroTask>
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace kelvara {

// What the desktop tells the playback link about the player: whether one is on the session bus, and
// when one appears or quits or the machine wakes (each restarts polling at once).
class WorkspaceWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr const char* playerPrefix = "org.mpris.MediaPlayer2.";

    // `systemBus` absent or not connected means no sleep notices; that is not an error.
    WorkspaceWatcher(QDBusConnection sessionBus, std::optional<QDBusConnection> systemBus,
                     QObject* parent = nullptr);

    // Starts listening. Idempotent.
    void watch();

    // Whether the followed player (the one named by the setting, else any MPRIS player)
    // owns its name on the session bus. Asks the bus, never the bridge.
    QCoro::Task<bool> playerRunning() const;

signals:
    void restartRequested();

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void prepareForSleep(bool starting);

private:
    QDBusConnection sessionBus_;
    std::optional<QDBusConnection> systemBus_;
    bool watching_ = false;
};

}  // namespace kelvara
