// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/single_instance.h"

#include "control/waveform_control.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLoggingCategory>

namespace kelvara {

namespace {
Q_LOGGING_CATEGORY(instanceLog, "kelvara.instance")
constexpr int raiseTimeout = 3000;  // ms; a hung first instance must not hang this one
}  // namespace

bool SingleInstance::claim(QDBusConnection bus, bool alongside) {
    if (!bus.isConnected()) {
        // Without a session bus there is nobody to hand over to, and no control interface.
        qCWarning(instanceLog) << "no session bus:" << bus.lastError().message();
        return true;
    }
    // No queueing: a second instance must learn at once that it is second.
    const bool owned = bus.registerService(QString::fromLatin1(serviceName));
    if (owned || alongside) {
        return true;
    }
    raiseOwner(bus);
    return false;
}

void SingleInstance::raiseOwner(QDBusConnection& bus) {
    QDBusMessage raise = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName),
                                                        QString::fromLatin1(WaveformControl::objectPath),
                                                        QString::fromLatin1(WaveformControl::interfaceName),
                                                        QStringLiteral("Raise"));
    raise.setAutoStartService(false);
    const QDBusMessage reply = bus.call(raise, QDBus::Block, raiseTimeout);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(instanceLog) << "the running instance did not raise its window:" << reply.errorName()
                               << reply.errorMessage();
    }
}

}  // namespace kelvara
