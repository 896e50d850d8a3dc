// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mpris_player.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <map>
#include <optional>
#include <vector>

namespace kelvara {

// The MPRIS players on the session bus and the one Kelvara follows. The list is kept from
// the bus's own news (NameOwnerChanged, PropertiesChanged): a newcomer's Identity and
// PlaybackStatus are read once, asynchronously, with a short time-out, so asking for the
// list or for the followed player never waits on a player. One entry per connection, so a
// player that owns two bus names is listed and followed once.
//
// Which player is followed:
//  - A player named in the settings (Settings::musicPlayer) is followed alone; while it is
//    not on the bus, none is.
//  - Otherwise the player followed last stays followed while it is on the bus. Another one
//    takes over only when it starts playing while the followed one is not playing, or when
//    the followed one leaves the bus.
//  - With none followed yet, the first playing player is chosen, else the first paused one,
//    else the first one (by bus name).
//
// Lives on one thread. Where no event loop runs (the bridge child), catchUp() takes in the
// news before each use.
class PlayerDirectory : public QObject {
    Q_OBJECT
public:
    static constexpr int readTimeoutMs = 500;

    explicit PlayerDirectory(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // Subscribes to the bus's news and lists its players once. Idempotent.
    void watch();
    // The first listing, with its players' properties, is complete (or timed out).
    bool isLoaded() const { return loaded_; }
    // Watches if not yet, takes in the news sent since the last call, and waits for the
    // reads they started (each bounded by readTimeoutMs), so a player that has just appeared
    // playing is known as such.
    void catchUp();

    const QDBusConnection& bus() const { return bus_; }
    // Sorted by bus name.
    std::vector<MprisPlayer> players() const;
    // The player to follow now, by the rule above. Never calls the bus.
    std::optional<MprisPlayer> followed();
    // A status the caller has just read from a player itself, fresher than its news.
    void noteStatus(const QString& connection, const QString& status);

signals:
    void loaded();
    // No call of the directory is waiting for its answer.
    void settled();
    // A player appeared on the bus or left it.
    void playersChanged();
    // Anything listed changed, including a player's status or name.
    void changed();

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated,
                           const QDBusMessage& message);

private:
    template <typename Handler>
    void ask(QDBusMessage message, Handler handler);
    void listNames();
    void addName(const QString& name, const QString& connection);
    void removeName(const QString& name, const QString& connection);
    void readProperty(const QString& connection, const QString& interface, const QString& property);
    void setIdentity(const QString& connection, const QString& identity);
    std::optional<QString> firstByStatus() const;
    bool followedIsPlaying() const;

    QDBusConnection bus_;
    std::map<QString, MprisPlayer> players_;  // by connection
    std::optional<QString> followed_;         // the connection followed last
    int pendingCalls_ = 0;                    // calls not answered yet
    bool watching_ = false;
    bool loaded_ = false;
};

}  // namespace kelvara
