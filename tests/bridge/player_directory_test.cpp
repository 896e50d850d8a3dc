// SPDX-License-Identifier: GPL-3.0-or-later
// The player directory against stand-in MPRIS players on a private bus: what it lists, how it
// keeps the list from the bus's news, and which player it follows.
#include "bridge_fixture.h"
#include "player_directory.h"
#include "stand_in_process.h"
#include "storage/settings.h"
#include "wait_until.h"

namespace kelvara::testing {
namespace {

class PlayerDirectoryTest : public BridgeFixture {
protected:
    PlayerDirectory& loadedDirectory() {
        directory_.watch();
        EXPECT_TRUE(waitUntil([&] { return directory_.isLoaded(); }));
        return directory_;
    }

    std::optional<MprisPlayer> listed(const QString& busName) {
        for (const MprisPlayer& player : directory_.players()) {
            if (player.busNames.contains(busName)) {
                return player;
            }
        }
        return std::nullopt;
    }

    // Waits until the directory has heard that `busName` has this status.
    bool heard(const QString& busName, const QString& status) {
        return waitUntil([&] { return listed(busName) && listed(busName)->status == status; });
    }

    // Sets a player's status and waits until the directory has heard of it.
    bool setStatus(StandInProcess& player, const QString& suffix, const QString& status) {
        player.command("status " + status.toUtf8());
        return heard(busName(suffix), status);
    }

    QString followedName() {
        const std::optional<MprisPlayer> player = directory_.followed();
        return player ? player->busName() : QString();
    }

    static QString busName(const QString& suffix) { return QStringLiteral("org.mpris.MediaPlayer2.") + suffix; }
    static QList<QJsonObject> titled(const QString& title) { return {QJsonObject{{"title", title}}}; }

    PlayerDirectory directory_{bus_.connection()};
};

TEST_F(PlayerDirectoryTest, APlayerWithTwoBusNamesIsListedAndFollowedOnceUnderItsFirst) {
    StandInProcess vlc(QStringLiteral("vlc.instance4242"), titled("V"), QStringLiteral("Paused"), 1.0,
                       {QStringLiteral("vlc")});
    const std::vector<MprisPlayer> players = loadedDirectory().players();
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].busNames, QStringList({busName("vlc"), busName("vlc.instance4242")}));
    EXPECT_EQ(players[0].suffix(), "vlc");
    EXPECT_EQ(players[0].identity, "Kelvara stand-in player");
    EXPECT_EQ(players[0].status, "Paused");
    EXPECT_EQ(followedName(), busName("vlc"));

    // A choice stored under either name finds it.
    Settings().setMusicPlayer(QStringLiteral("vlc.instance4242"));
    EXPECT_EQ(followedName(), busName("vlc"));
    Settings().setMusicPlayer(QStringLiteral("vlc.instance1"));
    EXPECT_FALSE(directory_.followed());
}

TEST_F(PlayerDirectoryTest, PlayersThatComeAndGoAreListedWithoutAskingAgain) {
    PlayerDirectory& directory = loadedDirectory();
    EXPECT_TRUE(directory.players().empty());
    int arrivalsAndDepartures = 0;
    QObject::connect(&directory, &PlayerDirectory::playersChanged, [&] { ++arrivalsAndDepartures; });
    {
        StandInProcess late(QStringLiteral("late"), titled("L"), QStringLiteral("Playing"));
        ASSERT_TRUE(heard(busName("late"), QStringLiteral("Playing"))) << "its properties are read once it appears";
        EXPECT_EQ(followedName(), busName("late"));
        EXPECT_TRUE(setStatus(late, QStringLiteral("late"), QStringLiteral("Paused"))) << "from PropertiesChanged";
    }
    EXPECT_TRUE(waitUntil([&] { return directory.players().empty(); }));
    EXPECT_EQ(arrivalsAndDepartures, 2);
    EXPECT_FALSE(directory.followed());
}

// A hung player (stopped with SIGSTOP) costs the listing one short time-out; it stays listed
// under its bus name and is never chosen over a player that answers.
TEST_F(PlayerDirectoryTest, AHungPlayerIsListedButDoesNotHoldUpTheChoice) {
    StandInProcess hung(QStringLiteral("a.hung"), titled("H"), QStringLiteral("Playing"));
    StandInProcess playing(QStringLiteral("b.playing"), titled("P"), QStringLiteral("Playing"));
    hung.freeze();
    loadedDirectory();
    ASSERT_EQ(directory_.players().size(), 2u);
    EXPECT_EQ(listed(busName("a.hung"))->title(), "a.hung");
    EXPECT_EQ(listed(busName("a.hung"))->status, "");
    EXPECT_EQ(followedName(), busName("b.playing"));
}

TEST_F(PlayerDirectoryTest, TheFollowedPlayerStaysUntilAnotherStartsWhileItIsNotPlayingOrItLeaves) {
    StandInProcess first(QStringLiteral("a"), titled("A"), QStringLiteral("Paused"));
    auto ours = std::make_unique<StandInProcess>(QStringLiteral("b"), titled("B"), QStringLiteral("Playing"));
    loadedDirectory();
    EXPECT_EQ(followedName(), busName("b")) << "none followed yet: the playing one";

    ASSERT_TRUE(setStatus(*ours, QStringLiteral("b"), QStringLiteral("Paused")));
    EXPECT_EQ(followedName(), busName("b")) << "both paused, and the other sorts first: still ours";

    ASSERT_TRUE(setStatus(first, QStringLiteral("a"), QStringLiteral("Playing")));
    EXPECT_EQ(followedName(), busName("a")) << "it started while ours was paused";

    ASSERT_TRUE(setStatus(*ours, QStringLiteral("b"), QStringLiteral("Playing")));
    EXPECT_EQ(followedName(), busName("a")) << "it started while the followed one plays";

    ASSERT_TRUE(setStatus(first, QStringLiteral("a"), QStringLiteral("Stopped")));
    EXPECT_EQ(followedName(), busName("a")) << "stopping is not leaving";

    // A named player is followed alone; back in automatic mode, it is the one followed last.
    Settings().setMusicPlayer(QStringLiteral("b"));
    EXPECT_EQ(followedName(), busName("b"));
    Settings().setMusicPlayer(std::nullopt);
    EXPECT_EQ(followedName(), busName("b"));

    ours.reset();
    ASSERT_TRUE(waitUntil([&] { return directory_.players().size() == 1; }));
    EXPECT_EQ(followedName(), busName("a")) << "the followed one left";
}

}  // namespace
}  // namespace kelvara::testing
