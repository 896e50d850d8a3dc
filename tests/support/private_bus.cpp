// SPDX-License-Identifier: GPL-3.0-or-later
#include "private_bus.h"

#include "parent_death.h"

#include <QFile>
#include <QUuid>

#include <stdexcept>

namespace kelvara::testing {

namespace {

QString configuration(const QString& socketDir, const QString& extraPolicy) {
    return QStringLiteral(
               "<busconfig>\n"
               "  <type>session</type>\n"
               "  <listen>unix:dir=%1</listen>\n"
               "  <auth>EXTERNAL</auth>\n"
               "  <policy context=\"default\">\n"
               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
               "    <allow eavesdrop=\"true\"/>\n"
               "    <allow own=\"*\"/>\n"
               "  </policy>\n"
               "%2\n"
               "</busconfig>\n")
        .arg(socketDir, extraPolicy);
}

}  // namespace

PrivateBus::PrivateBus(const QString& extraPolicy)
    : connectionName_(QStringLiteral("kelvara-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      savedAddress_(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
      hadAddress_(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) {
    const QString configPath = dir_.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly) || config.write(configuration(dir_.path(), extraPolicy).toUtf8()) < 0) {
        throw std::runtime_error("cannot write the bus configuration");
    }
    config.close();
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithTestProcess(daemon_);
    daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + configPath,
                                                  QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                                                  QStringLiteral("--print-address")});
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(10000)) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty()) {
        throw std::runtime_error("dbus-daemon did not start");
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

PrivateBus::~PrivateBus() {
    QDBusConnection::disconnectFromBus(connectionName_);
    if (hadAddress_) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress_);
    } else {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) {
        daemon_.kill();
        daemon_.waitForFinished();
    }
}

QDBusConnection PrivateBus::connection() const {
    return QDBusConnection::connectToBus(address_, connectionName_);
}

}  // namespace kelvara::testing
