// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/single_instance.h"

#include "control/waveform_control.h"
#include "logging/log_categories.h"

#include <QDBusError>
#include <QDBusMessage>

namespace kelvara {

namespace {
constexpr int raiseTimeout = 3000;  // ms; a hung first instance must not hang this one
}  // namespace

bool SingleInstance::claim(QDBusConnection bus, bool alongside) {
    if (!bus.isConnected()) {
        // Without a session bus there is nobody to hand over to, and no control interface.
        qCWarning(controlLog) << "no session bus:" << bus.lastError().message();
        return true;
    }
    // No queueing: a second instance must learn at once that it is second.
    const bool owned = bus.registerService(QString::fromLatin1(serviceName));
    if (owned || alongside) {
        return true;
    }
    return !raiseOwner(bus);
}

bool SingleInstance::raiseOwner(QDBusConnection& bus) {
    QDBusMessage raise = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName),
                                                        QString::fromLatin1(WaveformControl::objectPath),
                                                        QString::fromLatin1(WaveformControl::interfaceName),
                                                        QStringLiteral("Raise"));
    raise.setAutoStartService(false);
    const QDBusMessage reply = bus.call(raise, QDBus::Block, raiseTimeout);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return true;
    }
    qCWarning(controlLog) << "the running instance did not raise its window:" << reply.errorName()
                          << reply.errorMessage();
    // Nobody owns the name (the bus refused it to us for another reason): the user still gets
    // a window. An owner that does not answer still has its own.
    return QDBusError(reply).type() != QDBusError::ServiceUnknown &&
           reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

}  // namespace kelvara
