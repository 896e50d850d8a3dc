// SPDX-License-Identifier: GPL-3.0-or-later
// What a click or the hover readout means at a point of the strip.
#include "i18n/l.h"
#include "ui/strip_geometry.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

CuePoint cue(double seconds, const char* label) { return {QUuid::createUuid(), seconds, QString::fromUtf8(label), 0}; }

// 400 points over 100 s: 4 points a second.
TEST(StripGeometry, CueFivePointsAwayIsInReachAndFivePointOneIsNot) {
    const WaveformScene scene{.duration = 100, .snapToSquares = false, .cues = {cue(50, "drop")}};
    const StripGeometry strip(scene, 400);
    ASSERT_TRUE(strip.nearestCue(195).has_value());
    EXPECT_EQ(strip.clickTarget(195), 50);
    EXPECT_FALSE(strip.nearestCue(194.9).has_value());
    EXPECT_FALSE(strip.nearestCue(205.1).has_value());
    EXPECT_DOUBLE_EQ(strip.clickTarget(194.9), 48.725);
}

TEST(StripGeometry, EqualDistanceGoesToTheEarlierCueInTheList) {
    const WaveformScene scene{.duration = 100, .cues = {cue(51, "second"), cue(49, "first")}};
    const StripGeometry strip(scene, 400);
    EXPECT_EQ(strip.nearestCue(200)->label, QStringLiteral("second"));
    EXPECT_EQ(strip.hoverLabel(200, {}), QStringLiteral("second · 00:51"));
}

TEST(StripGeometry, NoDurationReachesNoCue) {
    const WaveformScene scene{.duration = 0, .cues = {cue(0, "start")}};
    EXPECT_FALSE(StripGeometry(scene, 400).nearestCue(0).has_value());
}

TEST(StripGeometry, ZoomedViewMapsPointsIntoTheVisibleRange) {
    WaveformViewport viewport;
    viewport.magnify(4, 0.5);  // 37.5…62.5 % of the track
    const WaveformScene scene{.duration = 200, .viewport = viewport};
    const StripGeometry strip(scene, 400);
    EXPECT_DOUBLE_EQ(strip.timeAt(0), 75);
    EXPECT_DOUBLE_EQ(strip.timeAt(400), 125);
    EXPECT_DOUBLE_EQ(strip.timeAt(-30), 75);  // held inside the view
    EXPECT_DOUBLE_EQ(strip.xOf(100), 200);
    EXPECT_DOUBLE_EQ(StripGeometry(scene, 0).timeAt(0), 75);  // no division by a zero width
}

TEST(StripGeometry, PlainClickSnapsToTheNearestSquare) {
    // 120 BPM, origin 0.5: squares every 8 s at 0.5, 8.5, 16.5 …
    const WaveformScene scene{.duration = 300, .beatGrid = BeatGrid{120, 0.5, 1}};
    const StripGeometry strip(scene, 300);  // 1 point a second
    EXPECT_DOUBLE_EQ(strip.clickTarget(10.4), 8.5);
    EXPECT_EQ(strip.hoverLabel(10.4, {}), QStringLiteral("□ 00:08"));
    EXPECT_DOUBLE_EQ(strip.hoverTarget(10.4, {.option = true}), 10.4);
    EXPECT_EQ(strip.hoverLabel(10.4, {.option = true}), L("Метка · ") + QStringLiteral("00:10"));
}

TEST(StripGeometry, CommandHoverShowsTheLoopBoundaryOrSaysThereIsNone) {
    const WaveformScene noGrid{.duration = 300};
    const StripGeometry plain(noGrid, 300);
    EXPECT_EQ(plain.hoverLabel(42, {.command = true}), L("Нет квадрата / BPM"));
    EXPECT_DOUBLE_EQ(plain.hoverTarget(42, {.command = true}), 42);  // the line follows the pointer

    const WaveformScene grid{.duration = 300, .beatGrid = BeatGrid{120, 0.5, 1}};
    EXPECT_EQ(StripGeometry(grid, 300).hoverLabel(296, {.command = true}), L("Вход □ ") + QStringLiteral("04:48"));

    // The end is measured on the grid of the first click and lies a square or more after it.
    const WaveformScene started{.duration = 300, .beatGrid = BeatGrid{100, 0, 1}, .loopGrid = BeatGrid{120, 0.5, 1}, .loopIn = 8.5};
    const StripGeometry end(started, 300);
    EXPECT_DOUBLE_EQ(end.hoverTarget(9, {.command = true}), 16.5);
    EXPECT_EQ(end.hoverLabel(9, {.command = true}), L("Выход □ ") + QStringLiteral("00:16"));
}

}  // namespace
}  // namespace kelvara
