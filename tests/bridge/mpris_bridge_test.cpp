// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge child against the stand-in MPRIS player on a private bus.
#include "bridge_child.h"
#include "bridge_fixture.h"
#include "i18n/l.h"
#include "i18n/localization.h"
#include "stand_in_process.h"
#include "storage/settings.h"
#include "wait_until.h"

#include <QJsonArray>
#include <QThread>

namespace kelvara::testing {
namespace {

using MprisBridge = BridgeFixture;

const QString songUrl = QStringLiteral("file:///tmp/My%20Music/Caf%C3%A9.flac");

QJsonObject song() {
    return {{"url", songUrl}, {"title", "Café"}, {"artist", "Ana"}, {"album", "Live"}, {"length", 245.5}};
}

void setFollowedPlayer(const QString& name) {
    Settings().setMusicPlayer(name);
}

TEST_F(MprisBridge, WithoutPlayerSnapshotsReadNotRunningAndCommandsAnswerClosed) {
    BridgeChild child;
    EXPECT_EQ(child.snapshot(), MusicSnapshot());
    const MusicSnapshot reply = child.command(BridgeAction::seek, "abcd", 3);
    EXPECT_EQ(reply, MusicSnapshot::failure(L("Music закрыта"), -10002));
}

TEST_F(MprisBridge, SnapshotDescribesTheCurrentTrack) {
    StandInProcess player(QStringLiteral("standin"), {song()}, QStringLiteral("Playing"), 0.8);
    BridgeChild child;
    const MusicSnapshot first = child.snapshot();
    EXPECT_TRUE(first.running);
    EXPECT_EQ(first.id, expectedId(songUrl));
    EXPECT_EQ(first.title, "Café");
    EXPECT_EQ(first.artist, "Ana");
    EXPECT_EQ(first.album, "Live");
    EXPECT_EQ(first.path, "/tmp/My Music/Café.flac");
    EXPECT_DOUBLE_EQ(first.duration, 245.5);
    EXPECT_EQ(first.state, PlaybackState::playing);
    EXPECT_TRUE(first.playing());
    EXPECT_DOUBLE_EQ(first.volume, 80);
    EXPECT_FALSE(first.muted);
    EXPECT_FALSE(first.error);
    QThread::msleep(50);
    EXPECT_GT(child.snapshot().position, first.position + 0.04);
}

TEST_F(MprisBridge, ItemsThatCannotBeReadTakeTheirDefaults) {
    const QJsonObject stream{{"url", "https://radio.example/live"}, {"title", "Live"}, {"length", "unknown"}};
    const QJsonObject untagged{{"title", "Demo"}, {"artist", "Band"}, {"trackid", "/org/kelvara/t9"}};
    StandInProcess player(QStringLiteral("standin"), {stream, untagged}, QStringLiteral("Paused"), 1.7);
    BridgeChild child;
    const MusicSnapshot fromStream = child.snapshot();
    EXPECT_EQ(fromStream.id, expectedId(QStringLiteral("https://radio.example/live")));
    EXPECT_EQ(fromStream.path, "");
    EXPECT_EQ(fromStream.duration, 0);
    EXPECT_EQ(fromStream.volume, 100);  // 1.7 × 100, clamped
    EXPECT_EQ(fromStream.state, PlaybackState::paused);

    player.command("track 1");
    EXPECT_EQ(child.snapshot().id, expectedId(QStringLiteral("/org/kelvara/t9\nDemo\nBand")));
}

TEST_F(MprisBridge, WithoutCurrentTrackOnlyTheStateIsReadAndCommandsAreRefused) {
    StandInProcess player(QStringLiteral("standin"), {});
    BridgeChild child;
    MusicSnapshot expected;
    expected.running = true;
    EXPECT_EQ(child.snapshot(), expected);
    EXPECT_EQ(child.command(BridgeAction::toggle, "abcd"), MusicSnapshot::failure(L("Нет текущего трека"), -10002));
}

TEST_F(MprisBridge, CommandsMoveThePlayerAndTheirReplyShowsTheResult) {
    StandInProcess player(QStringLiteral("standin"), {song()});
    BridgeChild child;
    const QString id = child.snapshot().id;

    EXPECT_NEAR(child.command(BridgeAction::seek, id, 93.25).position, 93.25, 0.05);
    EXPECT_NEAR(child.command(BridgeAction::seek, id.toUpper(), -3).position, 0, 0.05);
    EXPECT_EQ(child.command(BridgeAction::toggle, id).state, PlaybackState::paused);
    const MusicSnapshot resumed = child.command(BridgeAction::resumeAt, id, 10);
    EXPECT_EQ(resumed.state, PlaybackState::playing);
    EXPECT_NEAR(resumed.position, 10, 0.05);
    const MusicSnapshot pausedAt = child.command(BridgeAction::pauseAt, id, 20.5);
    EXPECT_EQ(pausedAt.state, PlaybackState::paused);
    EXPECT_DOUBLE_EQ(pausedAt.position, 20.5);
    EXPECT_EQ(child.command(BridgeAction::pause, id).state, PlaybackState::paused);

    const QString track = QStringLiteral("/org/kelvara/StandIn/track0");
    EXPECT_EQ(player.state().value("calls").toArray(),
              QJsonArray::fromStringList({"SetPosition " + track + " 93250000", "SetPosition " + track + " 0",
                                          "PlayPause", "SetPosition " + track + " 10000000", "Play", "Pause",
                                          "SetPosition " + track + " 20500000", "Pause"}));
}

TEST_F(MprisBridge, StaleOrMalformedCommandsLeaveThePlayerAlone) {
    StandInProcess player(QStringLiteral("standin"), {song()});
    BridgeChild child;
    EXPECT_EQ(child.command(BridgeAction::pause, "0123456789abcdef"), MusicSnapshot::failure(L("Трек уже сменился"), -10001));
    const MusicSnapshot invalid = MusicSnapshot::failure(L("Некорректная команда Music"), 0);
    EXPECT_EQ(child.command(BridgeAction::seek, "ab\"cd", 1), invalid);
    EXPECT_EQ(child.command(BridgeAction::seek, "", 1), invalid);
    EXPECT_EQ(child.command(BridgeAction::toggle, "12 34"), invalid);
    // JSON has no NaN: such a position never arrives as a number.
    const MusicSnapshot unreadable =
        MusicSnapshot::fromJson(child.exchange(R"({"action":"seek","trackID":"ab","position":1e999})"));
    EXPECT_EQ(unreadable.errorCode, 4864);

    const QJsonObject state = player.state();
    EXPECT_EQ(state.value("status"), "Playing");
    EXPECT_TRUE(state.value("calls").toArray().isEmpty());
}

TEST_F(MprisBridge, FollowsThePlayerTheUserNamedElseThePlayingElseThePausedOne) {
    StandInProcess a(QStringLiteral("a"), {QJsonObject{{"title", "A"}}}, QStringLiteral("Paused"));
    StandInProcess c(QStringLiteral("c"), {QJsonObject{{"title", "C"}}}, QStringLiteral("Stopped"));
    BridgeChild child;
    EXPECT_EQ(child.snapshot().title, "A");

    // The setting is read again for every request.
    setFollowedPlayer(QStringLiteral("c"));
    EXPECT_EQ(child.snapshot().title, "C");
    setFollowedPlayer(QStringLiteral("gone"));
    EXPECT_EQ(child.snapshot(), MusicSnapshot());
}

// The paused player sorts first: once ours is paused too, a choice made afresh for every
// request would answer with the other player's track.
TEST_F(MprisBridge, ACommandAndThePollsAfterItStayWithTheFollowedPlayer) {
    StandInProcess other(QStringLiteral("a.browser"), {QJsonObject{{"title", "Other"}}}, QStringLiteral("Paused"));
    StandInProcess ours(QStringLiteral("b.music"), {song()}, QStringLiteral("Playing"));
    BridgeChild child;
    const QString id = child.snapshot().id;
    ASSERT_EQ(id, expectedId(songUrl));

    EXPECT_EQ(child.command(BridgeAction::toggle, id).id, id);
    EXPECT_EQ(child.snapshot().id, id);
    const MusicSnapshot sought = child.command(BridgeAction::seek, id, 30);
    EXPECT_EQ(sought.id, id);
    EXPECT_EQ(sought.state, PlaybackState::paused);
    EXPECT_EQ(child.command(BridgeAction::toggle, id).state, PlaybackState::playing);
    EXPECT_EQ(child.command(BridgeAction::pause, id).id, id);
    EXPECT_EQ(child.snapshot().id, id);
    EXPECT_EQ(other.state().value("calls").toArray(), QJsonArray()) << "the other player is never asked to do anything";

    other.command("status Playing");
    EXPECT_TRUE(waitUntil([&] { return child.snapshot().title == "Other"; })) << "it started while ours was paused";
}

TEST_F(MprisBridge, AFollowedPlayerThatHangsTimesOutInsteadOfHandingOverToAnother) {
    StandInProcess other(QStringLiteral("a.other"), {QJsonObject{{"title", "Other"}}}, QStringLiteral("Paused"));
    StandInProcess ours(QStringLiteral("b.ours"), {song()}, QStringLiteral("Playing"));
    BridgeChild child;
    const QString id = child.snapshot().id;
    ours.block(3500);
    EXPECT_EQ(child.snapshot(), MusicSnapshot::failure(L("Music не отвечает"), -1712));
    ours.state();  // waits for the block to end
    EXPECT_EQ(child.command(BridgeAction::toggle, id).state, PlaybackState::paused);
}

TEST_F(MprisBridge, AHungPlayerThatIsNotFollowedIsNotAsked) {
    StandInProcess hung(QStringLiteral("a.hung"), {QJsonObject{{"title", "Hung"}}}, QStringLiteral("Paused"));
    StandInProcess ours(QStringLiteral("b.ours"), {song()}, QStringLiteral("Playing"));
    BridgeChild child;
    const QString id = child.snapshot().id;
    hung.freeze();
    EXPECT_FALSE(child.snapshot().error);
    const MusicSnapshot paused = child.command(BridgeAction::toggle, id);
    EXPECT_FALSE(paused.error);
    EXPECT_EQ(paused.state, PlaybackState::paused);
    EXPECT_EQ(child.snapshot().id, id);
}

TEST_F(MprisBridge, AHungPlayerTimesOutAndTheNextRequestIsServed) {
    StandInProcess player(QStringLiteral("standin"), {song()});
    BridgeChild child;
    EXPECT_TRUE(child.snapshot().running);
    player.block(3500);
    EXPECT_EQ(child.snapshot(), MusicSnapshot::failure(L("Music не отвечает"), -1712));
    player.state();  // waits for the block to end
    EXPECT_TRUE(child.snapshot().running);
}

TEST_F(MprisBridge, RefusedAccessAnswersThePermissionTextForEveryRequest) {
    StandInProcess player(QStringLiteral("locked"), {song()});
    BridgeChild child;
    const MusicSnapshot denied = MusicSnapshot::failure(
        L("Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → "
          "Автоматизация. Затем нажмите «Повторить»."),
        -1743);
    EXPECT_EQ(child.snapshot(), denied);
    EXPECT_EQ(child.command(BridgeAction::pause, "abcd"), denied);
}

TEST_F(MprisBridge, EveryLineIsAnsweredInOrderUntilTheInputEnds) {
    StandInProcess player(QStringLiteral("standin"), {song()});
    BridgeChild child({QStringLiteral("--verbose"), QStringLiteral("x"), QStringLiteral("--music-bridge"),
                       QStringLiteral("--language=en")});
    child.process().write("not json\n{\"action\":\"dance\",\"trackID\":\"\",\"position\":0}\n"
                          "{\"action\":\"snapshot\",\"trackID\":\"\"}\n{\"action\":\"snapshot\",\"trackID\":\"\",\"position\":0}");
    EXPECT_EQ(child.closeInput(), 0);
    const QList<QByteArray> replies = child.process().readAllStandardOutput().split('\n');
    ASSERT_EQ(replies.size(), 5);  // four lines and nothing after the last line feed
    EXPECT_EQ(MusicSnapshot::fromJson(replies[0]).errorCode, 4864);
    EXPECT_TRUE(MusicSnapshot::fromJson(replies[1]).running);  // unknown actions only read the state
    EXPECT_EQ(MusicSnapshot::fromJson(replies[2]).error, L("Поле «{0}» отсутствует или имеет неверный тип", "position"));
    EXPECT_TRUE(MusicSnapshot::fromJson(replies[3]).running);
    EXPECT_EQ(replies[4], "");
}

TEST_F(MprisBridge, AChildSpeaksItsParentsLanguageAndLeavesAPendingChoiceAlone) {
    Settings().setLanguage(QStringLiteral("es"));
    BridgeChild child({QStringLiteral("--music-bridge"), QStringLiteral("--language=de")});
    EXPECT_EQ(child.command(BridgeAction::pause, "ab").error,
              Localization::text(QStringLiteral("Music закрыта"), {}, AppLanguage::Case::German));
    EXPECT_EQ(child.closeInput(), 0);
    EXPECT_EQ(Settings().language(), "es");
}

}  // namespace
}  // namespace kelvara::testing
