// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cue_color.h"
#include "models/performance_controls.h"
#include "models/time_label.h"
#include "models/timeline.h"
#include "models/waveform_viewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kelvara::PerformanceControls;
using kelvara::Timeline;
using kelvara::WaveformViewport;

namespace {
const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::nan("");
}  // namespace

TEST(WaveformViewportTest, MagnifyKeepsAnchorWithinLimits) {
    WaveformViewport v;
    v.magnify(2, 0.5);
    EXPECT_EQ(v, (WaveformViewport{0.25, 2}));
    v.magnify(0.5, 0);
    EXPECT_EQ(v, (WaveformViewport{0, 1}));
    v.magnify(1000, 1);
    EXPECT_EQ(v, (WaveformViewport{1 - 1.0 / 64, 64}));
    for (const double factor : {0.0, -1.0, inf, notANumber}) {
        WaveformViewport unchanged{0.25, 2};
        unchanged.magnify(factor, 0.5);
        unchanged.magnify(2, notANumber);
        EXPECT_EQ(unchanged, (WaveformViewport{0.25, 2})) << factor;
    }
}

TEST(WaveformViewportTest, PanStaysInsideTheTrack) {
    WaveformViewport v{0, 4};
    v.pan(1);
    EXPECT_DOUBLE_EQ(v.start, 0.25);
    v.pan(10);
    v.pan(notANumber);
    EXPECT_DOUBLE_EQ(v.start, 0.75);
    v.pan(-10);
    EXPECT_DOUBLE_EQ(v.start, 0);
    EXPECT_DOUBLE_EQ((WaveformViewport{0.5, 4}).fraction(7), 0.75);
}

TEST(TimelineTest, PositionAndSeek) {
    EXPECT_DOUBLE_EQ(Timeline::position(42, 0.4, true, 300), 42.4);
    EXPECT_DOUBLE_EQ(Timeline::position(42, 0.4, false, 300), 42);
    EXPECT_DOUBLE_EQ(Timeline::position(42, -3, true, 300), 42);
    EXPECT_DOUBLE_EQ(Timeline::position(299, 5, true, 300), 300);
    EXPECT_DOUBLE_EQ(Timeline::position(-2, 1, true, 300), 0);

    EXPECT_DOUBLE_EQ(Timeline::seek(50, 200, 240), 60);
    EXPECT_EQ(Timeline::seek(50, 0, 240), 0);
    EXPECT_EQ(Timeline::seek(-10, 200, 240), 0);
    EXPECT_EQ(Timeline::seek(300, 200, 240), 240);
    EXPECT_EQ(Timeline::seek(notANumber, 200, 240), 0);
    EXPECT_EQ(Timeline::seek(50, 200, inf), 0);
}

TEST(PerformanceControlsTest, RemainingAndUrgency) {
    EXPECT_DOUBLE_EQ(PerformanceControls::remaining(240, -5), 240);
    EXPECT_EQ(PerformanceControls::remaining(240, 250), 0);
    EXPECT_EQ(PerformanceControls::remaining(notANumber, 10), 0);
    EXPECT_EQ(PerformanceControls::urgency(10, 240), 2);
    EXPECT_EQ(PerformanceControls::urgency(10.5, 240), 1);
    EXPECT_EQ(PerformanceControls::urgency(30, 240), 1);
    EXPECT_EQ(PerformanceControls::urgency(30.5, 240), 0);
    EXPECT_EQ(PerformanceControls::urgency(5, 0), 0);
}

TEST(TimeLabelTest, ClockText) {
    EXPECT_EQ(kelvara::timeLabel(0), QStringLiteral("00:00"));
    EXPECT_EQ(kelvara::timeLabel(59.9), QStringLiteral("00:59"));
    EXPECT_EQ(kelvara::timeLabel(3599.99), QStringLiteral("59:59"));
    EXPECT_EQ(kelvara::timeLabel(3725), QStringLiteral("1:02:05"));
    for (const double unusable : {-1.0, notANumber, inf}) {
        EXPECT_EQ(kelvara::timeLabel(unusable), QStringLiteral("00:00")) << unusable;
    }
}

TEST(CueColorTest, PaletteIsClampedToFourDistinctColours) {
    EXPECT_EQ(kelvara::cueColor(-3), kelvara::cueColor(0));
    EXPECT_EQ(kelvara::cueColor(9), kelvara::cueColor(3));
    EXPECT_NE(kelvara::cueColor(1), kelvara::cueColor(2));
}
