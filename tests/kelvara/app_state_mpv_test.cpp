// SPDX-License-Identifier: GPL-3.0-or-later
// A headless run of AppState following a real mpv (with mpv-mpris) through the bridge child on
// a private bus, in real time: analysis, seeking, play/pause, cues and grids across a restart,
// and a loop that sends mpv back to its start.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "mpv_player.h"
#include "private_bus.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace kelvara::testing {
namespace {

class AppStateFollowingMpv : public AppStateFixture {
protected:
    AppStateFollowingMpv() {
        sessionBus = bus.connection();
        timeSource = std::make_shared<SystemUptimeClock>();
    }
    ~AppStateFollowingMpv() override { destroyState(); }  // while the bus still runs

    QVariant playerProperty(const MpvPlayer& mpv, const QString& name) const {
        QDBusMessage get = QDBusMessage::createMethodCall(mpv.busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << QStringLiteral("org.mpris.MediaPlayer2.Player") << name;
        return bus.connection().call(get).arguments().value(0).value<QDBusVariant>().variant();
    }
    double position(const MpvPlayer& mpv) const {
        return static_cast<double>(playerProperty(mpv, QStringLiteral("Position")).toLongLong()) / 1e6;
    }
    QString status(const MpvPlayer& mpv) const { return playerProperty(mpv, QStringLiteral("PlaybackStatus")).toString(); }

    // Play/pause through AppState, and wait until its reply is in.
    void toggle(bool playing) {
        state->togglePlayback();
        ASSERT_TRUE(waitUntil([&] { return state->playback().snapshot().playing() == playing; }));
    }
    void seekTo(double seconds) {
        state->seek(seconds);
        ASSERT_TRUE(waitUntil([&] { return !state->playback().previewPosition(); }));
    }

    PrivateBus bus;
};

TEST_F(AppStateFollowingMpv, FollowsSeeksPlaysMarksAndLoopsARealPlayer) {
    const QString file = audio.tone(QStringLiteral("song.wav"), 12);
    MpvPlayer mpv(bus, {file});
    AppState& app = makeState();
    app.playback().setSeekLocked(false);
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.analysis().waveform().has_value(); }, 30));
    EXPECT_EQ(app.playback().snapshot().path, file);
    EXPECT_EQ(app.analysis().analysisMessage(), L("Анализ готов · кэш сохранён"));
    EXPECT_NEAR(app.duration(), 12, 0.05);

    seekTo(6);
    EXPECT_NEAR(position(mpv), 6, 0.05);
    EXPECT_NEAR(app.position(), 6, 0.05);
    toggle(true);
    EXPECT_EQ(status(mpv), QStringLiteral("Playing"));
    toggle(false);
    EXPECT_EQ(status(mpv), QStringLiteral("Paused"));

    app.addCue(2);
    app.saveGrid(BeatGrid{300, 0, 1});  // squares of 3.2 s
    seekTo(2);
    app.loopClick(0.3);
    app.loopClick(3);
    ASSERT_EQ(app.loop().activeLoop(), (LoopRegion{0, 3.2}));
    toggle(true);
    double furthest = 0;
    const bool wrapped = waitUntil(
        [&] {
            const double now = position(mpv);
            furthest = std::max(furthest, now);
            return furthest > 3 && now < 1.5;
        },
        5);
    EXPECT_TRUE(wrapped);
    EXPECT_LT(furthest, 3.2 + 0.3);  // sent back soon after the end
    EXPECT_TRUE(app.loop().activeLoop());
    app.stopLoop();
    toggle(false);

    // The program starts again: the marks are there and the analysis comes from the cache.
    AppState& restarted = makeState();
    restarted.start();
    ASSERT_TRUE(waitUntil([&] { return restarted.analysis().waveform().has_value(); }, 30));
    EXPECT_EQ(restarted.analysis().analysisMessage(), L("Загружено из кэша"));
    ASSERT_EQ(restarted.marks().cues().size(), 1u);
    EXPECT_EQ(restarted.marks().cues().front().seconds, 2);
    EXPECT_TRUE(restarted.marks().gridIsManual());
    EXPECT_EQ(restarted.bpmLabel(), QStringLiteral("300.0"));
}

}  // namespace
}  // namespace kelvara::testing
