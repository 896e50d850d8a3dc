// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/workspace_watcher.h"

#include "player_directory.h"

#include <QCoroSignal>
#include <QPointer>

namespace kelvara {

namespace {
const QString loginService = QStringLiteral("org.freedesktop.login1");
const QString loginPath = QStringLiteral("/org/freedesktop/login1");
const QString loginManager = QStringLiteral("org.freedesktop.login1.Manager");
}  // namespace

WorkspaceWatcher::WorkspaceWatcher(PlayerDirectory& players, std::optional<QDBusConnection> systemBus, QObject* parent)
    : QObject(parent), players_(players), systemBus_(std::move(systemBus)) {}

void WorkspaceWatcher::watch() {
    if (watching_) {
        return;
    }
    watching_ = true;
    connect(&players_, &PlayerDirectory::playersChanged, this, &WorkspaceWatcher::restartRequested);
    players_.watch();
    if (systemBus_ && systemBus_->isConnected()) {
        systemBus_->connect(loginService, loginPath, loginManager, QStringLiteral("PrepareForSleep"), this,
                            SLOT(prepareForSleep(bool)));
    }
}

QCoro::Task<bool> WorkspaceWatcher::playerRunning() const {
    QPointer<PlayerDirectory> players(&players_);
    players_.watch();
    if (!players_.isLoaded()) {
        co_await qCoro(players.data(), &PlayerDirectory::loaded);
    }
    co_return players && players->followed().has_value();
}

void WorkspaceWatcher::prepareForSleep(bool starting) {
    if (!starting) {
        emit restartRequested();
    }
}

}  // namespace kelvara
