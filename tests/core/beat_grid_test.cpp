// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/beat_grid.h"
#include "models/loop_region.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kelvara::BeatGrid;
using kelvara::LoopRegion;

namespace {
constexpr int square = 16;
const BeatGrid grid120{120, 0.5, 0.9};  // squares of 8 s from 0.5 s
const double notANumber = std::nan("");
}  // namespace

TEST(BeatGridTest, ValidBounds) {
    EXPECT_TRUE((BeatGrid{300, 0, 1}).valid());
    EXPECT_TRUE((BeatGrid{30, -0.0, 0}).valid());
    for (const BeatGrid bad : {BeatGrid{300.0001, 0, 1}, BeatGrid{29.9, 0, 1}, BeatGrid{120, -0.001, 1},
                               BeatGrid{120, std::numeric_limits<double>::infinity(), 1},
                               BeatGrid{notANumber, 0, 1}, BeatGrid{120, 0, 1.01}}) {
        EXPECT_FALSE(bad.valid()) << bad.bpm << " " << bad.origin << " " << bad.confidence;
    }
}

TEST(BeatGridTest, NearestSquareBoundary) {
    EXPECT_DOUBLE_EQ(grid120.nearest(10.4, square, 300), 8.5);
    // Half way rounds away from zero, also where the even neighbour lies below.
    EXPECT_DOUBLE_EQ(grid120.nearest(12.5, square, 300), 16.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(20.5, square, 300), 24.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(299, square, 300), 296.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(-50, square, 300), 0.5);
    EXPECT_DOUBLE_EQ((BeatGrid{120, 6, 1}).nearest(3, square, 5), 5);  // no boundary inside the track
    EXPECT_EQ(grid120.nearest(notANumber, square, 300), 0);
    EXPECT_EQ(grid120.nearest(10, 0, 300), 0);
    EXPECT_EQ(grid120.nearest(10, square, 0), 0);
    EXPECT_EQ((BeatGrid{400, 0.5, 1}).nearest(10, square, 300), 0);
}

TEST(BeatGridTest, BlockStartIsTheBoundaryAtOrBeforeTheTime) {
    EXPECT_DOUBLE_EQ(grid120.blockStart(16.4, square), 8.5);  // past half way, still this square
    EXPECT_DOUBLE_EQ(grid120.blockStart(8.5, square), 8.5);
    EXPECT_DOUBLE_EQ(grid120.blockStart(0.2, square), -7.5);  // before the origin
    EXPECT_DOUBLE_EQ(grid120.blockStart(3.2, 1), 3);
    EXPECT_EQ(grid120.blockStart(10, 0), 10);
    EXPECT_EQ((BeatGrid{400, 0.5, 1}).blockStart(10, square), 10);
    EXPECT_TRUE(std::isnan(grid120.blockStart(notANumber, square)));
}

TEST(BeatGridTest, LoopBoundaries) {
    // A start leaves room for a whole square.
    EXPECT_EQ(grid120.loopBoundary(296, std::nullopt, square, 300), 288.5);
    EXPECT_EQ(grid120.loopBoundary(20.5, std::nullopt, square, 300), 24.5);
    EXPECT_EQ(grid120.loopBoundary(5, std::nullopt, square, 6), std::nullopt);
    // An end lies at least one square after a start that is itself on the grid.
    EXPECT_EQ(grid120.loopBoundary(9, 8.5, square, 300), 16.5);
    EXPECT_EQ(grid120.loopBoundary(30, 8.5, square, 300), 32.5);
    EXPECT_EQ(grid120.loopBoundary(9, 8.6, square, 300), std::nullopt);
    EXPECT_EQ(grid120.loopBoundary(9, notANumber, square, 300), std::nullopt);
    EXPECT_EQ(grid120.loopBoundary(299, 296.5, square, 300), std::nullopt);
    EXPECT_EQ(grid120.loopBoundary(notANumber, std::nullopt, square, 300), std::nullopt);
}

TEST(BeatGridTest, BoundaryOnTheTrackEndCountsDespiteRounding) {
    // 38 squares of 8 s from 0.5 s end at 304.5; a duration a hair below still reaches it.
    const double end = 0.5 + 38 * 8.0;
    EXPECT_EQ(grid120.loopBoundary(1000, 8.5, square, end - 1e-12), end - 1e-12);
    EXPECT_EQ(grid120.loopBoundary(1000, std::nullopt, square, end - 1e-12), end - 8);
    EXPECT_EQ(grid120.loopBoundary(1000, 8.5, square, end - 1e-6), end - 8);
}

TEST(BeatGridTest, JsonNeedsEveryKeyAsANumber) {
    const BeatGrid unchecked{500, 0, 1.5};  // reading does not judge the values
    EXPECT_EQ(BeatGrid::fromJson(unchecked.toJson()), unchecked);
    QJsonObject missing = grid120.toJson();
    missing.remove(QStringLiteral("origin"));
    EXPECT_FALSE(BeatGrid::fromJson(missing));
    QJsonObject text = grid120.toJson();
    text.insert(QStringLiteral("bpm"), QStringLiteral("120"));
    EXPECT_FALSE(BeatGrid::fromJson(text));
}

TEST(LoopRegionTest, MakeOrdersClampsAndNeedsHalfASecond) {
    EXPECT_EQ(LoopRegion::make(20, 10, 300), (LoopRegion{10, 20}));
    EXPECT_EQ(LoopRegion::make(-5, 3, 300), (LoopRegion{0, 3}));
    EXPECT_EQ(LoopRegion::make(250, 400, 300), (LoopRegion{250, 300}));
    EXPECT_FALSE(LoopRegion::make(10, 10.4, 300));
    EXPECT_FALSE(LoopRegion::make(310, 400, 300));  // both clamp to the end
    EXPECT_FALSE(LoopRegion::make(notANumber, 10, 300));
    EXPECT_FALSE(LoopRegion::make(0, 10, 0));
}

TEST(LoopRegionTest, WrapsOnlyWhilePlayingAtOrPastTheEnd) {
    const LoopRegion region{8.5, 16.5};
    EXPECT_TRUE(region.shouldWrap(16.5, true));
    EXPECT_FALSE(region.shouldWrap(16.49, true));
    EXPECT_FALSE(region.shouldWrap(20, false));
    EXPECT_FALSE(region.shouldWrap(notANumber, true));
}
