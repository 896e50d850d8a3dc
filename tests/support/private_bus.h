// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace kelvara::testing {

// A private D-Bus session bus for one test fixture: a dbus-daemon with a minimal
// configuration that activates no services (a stock session would start playerctld, a
// second "player"). While it lives, DBUS_SESSION_BUS_ADDRESS points at it, for this process
// and every child it starts; the daemon is stopped by its PID at the end.
class PrivateBus {
public:
    // `extraPolicy` is added to the bus configuration, e.g.
    // <policy context="default"><deny send_destination="org.mpris.MediaPlayer2.x"/></policy>
    explicit PrivateBus(const QString& extraPolicy = {});
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const QString& address() const { return address_; }
    // A connection of this process to the bus (not the cached session bus of Qt, which
    // would stay on the first bus a process ever used).
    QDBusConnection connection() const;
    qint64 processId() const { return daemon_.processId(); }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QString connectionName_;
    QByteArray savedAddress_;
    bool hadAddress_ = false;
};

}  // namespace kelvara::testing
