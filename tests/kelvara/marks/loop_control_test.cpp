// SPDX-License-Identifier: GPL-3.0-or-later
// Loop clicks and the loop's watcher over a stand-in for the playing track.
#include "app_state_fixture.h"
#include "marks/stand_in_context.h"

#include "i18n/l.h"
#include "marks/loop_control.h"
#include "marks/track_marks.h"

namespace kelvara::testing {
namespace {

class Loop : public AppStateFixture {
protected:
    StandInContext context;
    TrackMarks marks{context};
    LoopControl loop{context, marks, clock};
};

TEST_F(Loop, LoopClicksCutWholeSquaresUntilTheTrackChanges) {
    loop.loopClick(10);
    EXPECT_EQ(context.notice, L("Для повтора участка задайте BPM"));
    marks.saveGrid(BeatGrid{120, 0.5, 1});  // squares of 8 s from 0.5 s
    loop.loopClick(296);
    EXPECT_EQ(loop.loopIn(), 288.5);  // the last start with a whole square after it
    loop.setLoopIn(std::nullopt);

    loop.loopClick(10);
    EXPECT_EQ(loop.loopIn(), 8.5);
    marks.saveGrid(BeatGrid{100, 0, 1});  // a grid change between the clicks does not move the start
    EXPECT_EQ(loop.loopGrid()->bpm, 120);
    loop.loopClick(30);
    EXPECT_EQ(loop.activeLoop(), (LoopRegion{8.5, 32.5}));
    EXPECT_FALSE(loop.loopGrid());
    EXPECT_TRUE(context.seeks.empty());  // 12 s lies inside: no seek
    marks.saveGrid(BeatGrid{120, 0.5, 1});
    loop.loopClick(10);
    EXPECT_FALSE(loop.activeLoop());
    loop.loopClick(9);
    EXPECT_EQ(loop.activeLoop(), (LoopRegion{8.5, 16.5}));
    clock->advance(0);
    EXPECT_EQ(clock->sleepers(), 1u);  // the watcher of this loop alone

    context.id = QStringLiteral("t2");
    loop.resetTrack();
    EXPECT_FALSE(loop.activeLoop() || loop.loopSelection() || loop.loopIn());
    clock->advance(0.1);
    EXPECT_EQ(clock->sleepers(), 0u);
}

TEST_F(Loop, ClicksWhileLockedOrWithoutControlOnlyShowTheLock) {
    marks.saveGrid(BeatGrid{120, 0.5, 1});
    context.locked = true;
    loop.loopClick(10);
    EXPECT_EQ(context.notice, QStringLiteral("locked"));
    EXPECT_FALSE(loop.loopIn());
    context.locked = false;
    context.controllable = false;
    context.notice.reset();
    loop.loopClick(10);
    EXPECT_EQ(context.notice, QStringLiteral("locked"));
    EXPECT_FALSE(loop.loopIn());
}

// Made newly testable by the stand-in: when the watcher sends the player back, and when not.
TEST_F(Loop, TheWatcherJumpsBackPastTheEndOnlyWhilePlayingAndNoSeekIsOnItsWay) {
    marks.saveGrid(BeatGrid{120, 0.5, 1});
    context.at = 2;
    loop.loopClick(10);
    loop.loopClick(22);
    ASSERT_EQ(loop.activeLoop(), (LoopRegion{8.5, 24.5}));
    EXPECT_EQ(context.seeks, std::vector<double>{8.5});  // started outside: to the start first

    context.at = 24.5;
    context.busy = true;
    clock->advance(0.05);
    context.busy = false;
    context.isPlaying = false;
    clock->advance(0.05);
    EXPECT_EQ(context.seeks.size(), 1u);
    context.isPlaying = true;
    clock->advance(0.03);
    EXPECT_EQ(context.seeks, (std::vector<double>{8.5, 8.5}));

    loop.leaveUnlessInside(20);
    EXPECT_TRUE(loop.activeLoop());
    loop.leaveUnlessInside(24.5);  // the end lies outside
    EXPECT_FALSE(loop.activeLoop());
    EXPECT_EQ(loop.loopSelection(), (LoopRegion{8.5, 24.5}));  // kept, drawn as stopped
}

}  // namespace
}  // namespace kelvara::testing
