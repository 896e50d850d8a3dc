// SPDX-License-Identifier: GPL-3.0-or-later
// How AppState ties its parts together: what a track change, the lock and the player's
// answers do to the loop, the view and the analysis. No player runs.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "storage/settings.h"

namespace kelvara::testing {
namespace {

class AppStateWiring : public AppStateFixture {
protected:
    // Playing t1 at 12 s, unlocked, with squares of 8 s from 0.5 s.
    AppState& playing() {
        Settings().setAutoInstrumental(false);  // its grace would be one more sleeper to count
        AppState& app = makeState();
        app.playback().setSeekLocked(false);
        app.apply(track(QStringLiteral("t1"), QStringLiteral("/music/t1.flac"), 12, true));
        app.saveGrid(BeatGrid{120, 0.5, 1});
        return app;
    }
    static void loopFrom10To30(AppState& app) {
        app.loopClick(10);
        app.loopClick(30);
        ASSERT_EQ(app.loop().activeLoop(), (LoopRegion{8.5, 32.5}));
    }
};

TEST_F(AppStateWiring, ATrackChangeDropsTheOldTracksLoopViewAndWaveform) {
    AppState& app = playing();
    loopFrom10To30(app);
    app.view().setViewport(WaveformViewport{0.25, 4});
    clock->advance(0);
    EXPECT_EQ(clock->sleepers(), 1u);  // the watcher of this loop

    app.apply(track(QStringLiteral("t2"), QStringLiteral("/music/t2.flac"), 0, true));
    EXPECT_FALSE(app.loop().activeLoop() || app.loop().loopSelection() || app.loop().loopIn());
    EXPECT_EQ(app.view().viewport(), WaveformViewport{});
    EXPECT_FALSE(app.analysis().waveform());
    EXPECT_FALSE(app.marks().gridIsManual());  // the grid was t1's
    clock->advance(0.1);
    EXPECT_EQ(clock->sleepers(), 0u);
}

TEST_F(AppStateWiring, TurningTheLockOnEndsTheLoopAndForgetsItsStart) {
    AppState& app = playing();
    loopFrom10To30(app);
    app.playback().setSeekLocked(true);
    EXPECT_FALSE(app.loop().activeLoop());

    app.playback().setSeekLocked(false);
    app.loopClick(10);
    ASSERT_EQ(app.loop().loopIn(), 8.5);
    ASSERT_TRUE(app.playback().seekNotice());
    app.playback().setSeekLocked(true);
    EXPECT_FALSE(app.loop().loopIn());
    EXPECT_FALSE(app.playback().seekNotice());
}

// The bridge child finds no player, so every seek comes back as an error.
TEST_F(AppStateWiring, ASeekInsideTheLoopKeepsItAndAFailedSeekEndsIt) {
    AppState& app = playing();
    loopFrom10To30(app);
    app.seek(20);
    EXPECT_TRUE(app.loop().activeLoop());
    ASSERT_TRUE(waitUntil([&] { return app.playback().controlError().has_value(); }));
    EXPECT_FALSE(app.loop().activeLoop());

    loopFrom10To30(app);
    app.seek(40);
    EXPECT_FALSE(app.loop().activeLoop());  // at once, before the seek is sent
}

TEST_F(AppStateWiring, ChoosingAFileKeepsThePositionAndTheBpmLabelFollowsAnalysisAndGrid) {
    AppState& app = makeState();
    app.apply(track(QStringLiteral("t1"), QStringLiteral("/music/t1.flac"), 12, true));
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("BPM …"));  // the analysis of the missing file is under way
    app.saveGrid(BeatGrid{128, 0.42, 1});
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("128.0"));

    clock->advance(1.5);
    app.chooseFile(QStringLiteral("t1"), QStringLiteral("/music/other.flac"));
    EXPECT_NEAR(app.position(), 13.5, 1e-9);  // not re-anchored to the last reply
    EXPECT_FALSE(app.marks().gridIsManual());
    ASSERT_TRUE(waitUntil([&] { return !app.analysis().analysisProgress(); }, 30));
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("BPM —"));
}

}  // namespace
}  // namespace kelvara::testing
