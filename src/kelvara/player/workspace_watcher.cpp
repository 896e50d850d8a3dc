// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/workspace_watcher.h"

#include "logging/log_categories.h"
#include "storage/settings.h"

#include <QCoroDBusPendingCall>
#include <QDBusMessage>
#include <QDBusPendingCall>

#include <algorithm>

namespace kelvara {

namespace {
const QString busService = QStringLiteral("org.freedesktop.DBus");
const QString busPath = QStringLiteral("/org/freedesktop/DBus");
const QString loginService = QStringLiteral("org.freedesktop.login1");
const QString loginPath = QStringLiteral("/org/freedesktop/login1");
const QString loginManager = QStringLiteral("org.freedesktop.login1.Manager");
}  // namespace

WorkspaceWatcher::WorkspaceWatcher(QDBusConnection sessionBus, std::optional<QDBusConnection> systemBus,
                                   QObject* parent)
    : QObject(parent), sessionBus_(std::move(sessionBus)), systemBus_(std::move(systemBus)) {}

void WorkspaceWatcher::watch() {
    if (watching_) {
        return;
    }
    watching_ = true;
    // The D-Bus signal itself: QDBusConnectionInterface::serviceOwnerChanged is deprecated.
    sessionBus_.connect(busService, busPath, busService, QStringLiteral("NameOwnerChanged"), this,
                        SLOT(nameOwnerChanged(QString, QString, QString)));
    if (systemBus_ && systemBus_->isConnected()) {
        systemBus_->connect(loginService, loginPath, loginManager, QStringLiteral("PrepareForSleep"), this,
                            SLOT(prepareForSleep(bool)));
    }
}

QCoro::Task<bool> WorkspaceWatcher::playerRunning() const {
    auto call = QDBusMessage::createMethodCall(busService, busPath, busService, QStringLiteral("ListNames"));
    const QDBusMessage reply = co_await sessionBus_.asyncCall(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCDebug(linkLog) << "cannot list the session bus names:" << reply.errorName() << reply.errorMessage();
        co_return false;
    }
    const QStringList names = reply.arguments().constFirst().toStringList();
    const QString prefix = QString::fromLatin1(playerPrefix);
    if (const auto followed = Settings().musicPlayer()) {
        co_return names.contains(prefix + *followed);
    }
    co_return std::any_of(names.cbegin(), names.cend(), [&](const QString& name) { return name.startsWith(prefix); });
}

void WorkspaceWatcher::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner) {
    if (name.startsWith(QLatin1String(playerPrefix)) && oldOwner != newOwner) {
        emit restartRequested();
    }
}

void WorkspaceWatcher::prepareForSleep(bool starting) {
    if (!starting) {
        emit restartRequested();
    }
}

}  // namespace kelvara
