// SPDX-License-Identifier: GPL-3.0-or-later
// The playback link with two real mpv players on a private bus, in real time: it stays with
// the player it follows while the user works it, and hands over only as the directory's rule
// says.
#include "app_state_fixture.h"

#include "mpv_player.h"
#include "player/playback_link.h"
#include "player_directory.h"
#include "private_bus.h"

#include <QCoroTask>
#include <QDBusMessage>

namespace kelvara::testing {
namespace {

class PlaybackLinkWithTwoPlayers : public AppStateFixture {
protected:
    PlaybackLink& makeLink() {
        link = std::make_unique<PlaybackLink>(std::make_shared<SystemUptimeClock>(), bridgeExecutable(), bus.connection(),
                                              std::nullopt, [] { return 0.0; });
        QObject::connect(link.get(), &PlaybackLink::trackChanged, [this] { ++trackChanges; });
        QObject::connect(link.get(), &PlaybackLink::applied, [this] { appliedPaths.append(link->snapshot().path); });
        link->setSeekLocked(false);
        return *link;
    }

    void play(const MpvPlayer& player) {
        const QDBusMessage call = QDBusMessage::createMethodCall(player.busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                                                 QStringLiteral("org.mpris.MediaPlayer2.Player"),
                                                                 QStringLiteral("Play"));
        EXPECT_EQ(bus.connection().call(call).type(), QDBusMessage::ReplyMessage);
    }

    // A poll now, rather than after the link's own interval.
    void poll() { QCoro::waitFor(link->refresh()); }

    bool following(const QString& path) {
        return waitUntil([&] { return link->snapshot().path == path && !link->previewPosition(); });
    }

    PrivateBus bus;
    std::unique_ptr<PlaybackLink> link;
    int trackChanges = 0;
    QStringList appliedPaths;
};

TEST_F(PlaybackLinkWithTwoPlayers, StaysWithTheFollowedPlayerAndHandsOverOnlyByTheRule) {
    const QString pausedFile = audio.tone(QStringLiteral("paused.wav"), 30);
    const QString oursFile = audio.tone(QStringLiteral("ours.wav"), 30);
    auto pausedPlayer = std::make_unique<MpvPlayer>(bus, QStringList{pausedFile}, true);
    MpvPlayer ours(bus, {oursFile}, false);
    ASSERT_LT(pausedPlayer->busName(), ours.busName()) << "the paused player sorts first";

    PlaybackLink& playback = makeLink();
    playback.start();
    ASSERT_TRUE(following(oursFile));
    ASSERT_TRUE(playback.snapshot().playing());
    EXPECT_EQ(playback.players().players().size(), 2u);

    playback.togglePlayback();
    ASSERT_TRUE(waitUntil([&] { return !playback.snapshot().playing(); }));
    poll();
    playback.seek(12);
    ASSERT_TRUE(following(oursFile));
    EXPECT_NEAR(playback.position(), 12, 0.5);
    playback.togglePlayback();
    ASSERT_TRUE(waitUntil([&] { return playback.snapshot().playing(); }));
    playback.togglePlayback();
    ASSERT_TRUE(waitUntil([&] { return !playback.snapshot().playing(); }));
    poll();
    poll();
    EXPECT_EQ(appliedPaths.filter(pausedFile), QStringList()) << "no reply described the other player";
    EXPECT_EQ(trackChanges, 1) << "only the first reply was a new track";

    play(*pausedPlayer);  // starts while ours is paused: followed from now on
    EXPECT_TRUE(following(pausedFile));
    EXPECT_EQ(trackChanges, 2);

    pausedPlayer.reset();  // the followed player quits: the other one is next
    EXPECT_TRUE(following(oursFile));
    EXPECT_EQ(playback.players().players().size(), 1u);
}

}  // namespace
}  // namespace kelvara::testing
