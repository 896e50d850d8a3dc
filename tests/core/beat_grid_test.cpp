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

}  // namespace

TEST(BeatGridTest, ValidBounds) {
    EXPECT_TRUE((BeatGrid{300, 0, 1}).valid());
    EXPECT_TRUE((BeatGrid{30, -0.0, 0}).valid());
    EXPECT_FALSE((BeatGrid{300.0001, 0, 1}).valid());
    EXPECT_FALSE((BeatGrid{29.9, 0, 1}).valid());
    EXPECT_FALSE((BeatGrid{120, -0.001, 1}).valid());
    EXPECT_FALSE((BeatGrid{120, std::numeric_limits<double>::infinity(), 1}).valid());
    EXPECT_FALSE((BeatGrid{std::nan(""), 0, 1}).valid());
    EXPECT_FALSE((BeatGrid{120, 0, 1.01}).valid());
    EXPECT_FALSE((BeatGrid{120, 0, -0.01}).valid());
    EXPECT_DOUBLE_EQ(grid120.interval(), 0.5);
}

TEST(BeatGridTest, NearestSquareBoundary) {
    EXPECT_DOUBLE_EQ(grid120.nearest(10.4, square, 300), 8.5);
    // Half way rounds away from zero, also where the even neighbour lies below.
    EXPECT_DOUBLE_EQ(grid120.nearest(12.5, square, 300), 16.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(20.5, square, 300), 24.5);
    EXPECT_EQ(grid120.loopBoundary(20.5, std::nullopt, square, 300), 24.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(299, square, 300), 296.5);
    EXPECT_DOUBLE_EQ(grid120.nearest(-50, square, 300), 0.5);
    EXPECT_DOUBLE_EQ((BeatGrid{120, 6, 1}).nearest(3, square, 5), 5);  // no boundary inside the track
    EXPECT_DOUBLE_EQ(grid120.nearest(10, 1, 300), 10);
}

TEST(BeatGridTest, NearestIsZeroForUnusableArguments) {
    EXPECT_EQ(grid120.nearest(std::nan(""), square, 300), 0);
    EXPECT_EQ(grid120.nearest(10, 0, 300), 0);
    EXPECT_EQ(grid120.nearest(10, square, 0), 0);
    EXPECT_EQ(grid120.nearest(10, square, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ((BeatGrid{400, 0.5, 1}).nearest(10, square, 300), 0);
}

TEST(BeatGridTest, LoopStartLeavesAWholeSquare) {
    EXPECT_EQ(grid120.loopBoundary(296, std::nullopt, square, 300), 288.5);
    EXPECT_EQ(grid120.loopBoundary(10, std::nullopt, square, 300), 8.5);
    EXPECT_EQ(grid120.loopBoundary(5, std::nullopt, square, 6), std::nullopt);  // no square fits
    EXPECT_EQ(grid120.loopBoundary(std::nan(""), std::nullopt, square, 300), std::nullopt);
    EXPECT_EQ((BeatGrid{20, 0, 1}).loopBoundary(10, std::nullopt, square, 300), std::nullopt);
}

TEST(BeatGridTest, LoopEndIsAtLeastOneSquareAfterAStartOnTheGrid) {
    EXPECT_EQ(grid120.loopBoundary(9, 8.5, square, 300), 16.5);
    EXPECT_EQ(grid120.loopBoundary(30, 8.5, square, 300), 32.5);
    EXPECT_EQ(grid120.loopBoundary(9, 8.6, square, 300), std::nullopt);
    EXPECT_EQ(grid120.loopBoundary(9, std::nan(""), square, 300), std::nullopt);
    EXPECT_EQ(grid120.loopBoundary(299, 296.5, square, 300), std::nullopt);  // no square after the start
}

TEST(BeatGridTest, BoundaryOnTheTrackEndCountsDespiteRounding) {
    // 38 squares of 8 s from 0.5 s end at 304.5; a duration a hair below still reaches it.
    const double end = 0.5 + 38 * 8.0;
    EXPECT_EQ(grid120.loopBoundary(1000, 8.5, square, end - 1e-12), end - 1e-12);
    EXPECT_EQ(grid120.loopBoundary(1000, std::nullopt, square, end - 1e-12), end - 8);
    EXPECT_EQ(grid120.loopBoundary(1000, 8.5, square, end - 1e-6), end - 8);
}

TEST(BeatGridTest, JsonRoundTripNeedsEveryKey) {
    const BeatGrid grid{128, 0.42, 1};
    EXPECT_EQ(BeatGrid::fromJson(grid.toJson()), grid);
    QJsonObject missing = grid.toJson();
    missing.remove(QStringLiteral("origin"));
    EXPECT_FALSE(BeatGrid::fromJson(missing));
    QJsonObject text = grid.toJson();
    text.insert(QStringLiteral("bpm"), QStringLiteral("128"));
    EXPECT_FALSE(BeatGrid::fromJson(text));
    EXPECT_FALSE(BeatGrid::fromJson(QJsonValue(128)));
    // Reading does not judge the values.
    EXPECT_EQ(BeatGrid::fromJson((BeatGrid{500, 0, 1.5}).toJson()), (BeatGrid{500, 0, 1.5}));
}

TEST(LoopRegionTest, MakeOrdersClampsAndNeedsHalfASecond) {
    EXPECT_EQ(LoopRegion::make(20, 10, 300), (LoopRegion{10, 20}));
    EXPECT_EQ(LoopRegion::make(-5, 3, 300), (LoopRegion{0, 3}));
    EXPECT_EQ(LoopRegion::make(250, 400, 300), (LoopRegion{250, 300}));
    EXPECT_EQ(LoopRegion::make(10, 10.5, 300), (LoopRegion{10, 10.5}));
    EXPECT_FALSE(LoopRegion::make(10, 10.4, 300));
    EXPECT_FALSE(LoopRegion::make(310, 400, 300));  // both clamp to the end
    EXPECT_FALSE(LoopRegion::make(std::nan(""), 10, 300));
    EXPECT_FALSE(LoopRegion::make(0, 10, 0));
    EXPECT_FALSE(LoopRegion::make(0, 10, std::numeric_limits<double>::infinity()));
}

TEST(LoopRegionTest, WrapsOnlyWhilePlayingAtOrPastTheEnd) {
    const LoopRegion region{8.5, 16.5};
    EXPECT_TRUE(region.shouldWrap(16.5, true));
    EXPECT_FALSE(region.shouldWrap(16.49, true));
    EXPECT_FALSE(region.shouldWrap(20, false));
    EXPECT_FALSE(region.shouldWrap(std::nan(""), true));
}
