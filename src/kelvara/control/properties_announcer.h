// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

namespace kelvara {

// Sends org.freedesktop.DBus.Properties.PropertiesChanged for an object exported on the bus:
// every property its own class declares, but `unannounced`, is read whenever the program
// may have changed, and those whose value differs from the last one sent go out together.
// Several changes in one turn of the event loop make one signal.
class PropertiesAnnouncer : public QObject {
    Q_OBJECT

public:
    PropertiesAnnouncer(const QObject& exported, const QDBusConnection& bus, QString path, QString interface,
                        QString unannounced, QObject* parent = nullptr);

    // Something may have changed: look at the values before the event loop next waits.
    void schedule();

private:
    QVariantMap currentValues() const;
    void announce();

    const QObject& exported_;
    QDBusConnection bus_;
    QString path_;
    QString interface_;
    QString unannounced_;
    QVariantMap announced_;
    QTimer pending_;
};

}  // namespace kelvara
