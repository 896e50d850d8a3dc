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

WaveformViewport viewport(double start, double zoom) {
    WaveformViewport result;
    result.start = start;
    result.zoom = zoom;
    return result;
}

}  // namespace

TEST(WaveformViewportTest, MagnifyKeepsAnchorAndLimits) {
    WaveformViewport v;
    v.magnify(2, 0.5);
    EXPECT_EQ(v, viewport(0.25, 2));
    v.magnify(0.5, 0);
    EXPECT_EQ(v, viewport(0, 1));

    WaveformViewport deep;
    deep.magnify(1000, 1);
    EXPECT_DOUBLE_EQ(deep.zoom, 64);
    EXPECT_DOUBLE_EQ(deep.start, 1 - 1.0 / 64);
    EXPECT_DOUBLE_EQ(deep.rangeUpper(), 1);

    for (const double factor : {0.0, -1.0, inf, notANumber}) {
        WaveformViewport unchanged = viewport(0.25, 2);
        unchanged.magnify(factor, 0.5);
        EXPECT_EQ(unchanged, viewport(0.25, 2)) << factor;
    }
    WaveformViewport badAnchor = viewport(0.25, 2);
    badAnchor.magnify(2, notANumber);
    EXPECT_EQ(badAnchor, viewport(0.25, 2));
}

TEST(WaveformViewportTest, PanMovesByVisibleLengthsWithinTheTrack) {
    WaveformViewport v = viewport(0, 4);
    v.pan(1);
    EXPECT_DOUBLE_EQ(v.start, 0.25);
    v.pan(10);
    EXPECT_DOUBLE_EQ(v.start, 0.75);
    v.pan(notANumber);
    EXPECT_DOUBLE_EQ(v.start, 0.75);
    v.pan(-10);
    EXPECT_DOUBLE_EQ(v.start, 0);
    EXPECT_DOUBLE_EQ(viewport(0.5, 4).fraction(0.5), 0.625);
    EXPECT_DOUBLE_EQ(viewport(0.5, 4).fraction(7), 0.75);
}

TEST(TimelineTest, PositionAdvancesOnlyWhilePlayingAndStaysInTheTrack) {
    EXPECT_DOUBLE_EQ(Timeline::position(42, 0.4, true, 300), 42.4);
    EXPECT_DOUBLE_EQ(Timeline::position(42, 0.4, false, 300), 42);
    EXPECT_DOUBLE_EQ(Timeline::position(42, -3, true, 300), 42);
    EXPECT_DOUBLE_EQ(Timeline::position(299, 5, true, 300), 300);
    EXPECT_DOUBLE_EQ(Timeline::position(-2, 1, true, 300), 0);
    EXPECT_DOUBLE_EQ(Timeline::position(5, 1, true, -1), 0);
}

TEST(TimelineTest, SeekMapsStripPointsToTime) {
    EXPECT_DOUBLE_EQ(Timeline::seek(50, 200, 240), 60);
    EXPECT_EQ(Timeline::seek(50, 0, 240), 0);
    EXPECT_EQ(Timeline::seek(-10, 200, 240), 0);
    EXPECT_EQ(Timeline::seek(300, 200, 240), 240);
    EXPECT_EQ(Timeline::seek(notANumber, 200, 240), 0);
    EXPECT_EQ(Timeline::seek(50, notANumber, 240), 0);
    EXPECT_EQ(Timeline::seek(50, 200, inf), 0);
}

TEST(PerformanceControlsTest, RemainingAndUrgency) {
    EXPECT_DOUBLE_EQ(PerformanceControls::remaining(240, 60), 180);
    EXPECT_DOUBLE_EQ(PerformanceControls::remaining(240, -5), 240);
    EXPECT_EQ(PerformanceControls::remaining(240, 250), 0);
    EXPECT_EQ(PerformanceControls::remaining(notANumber, 10), 0);
    EXPECT_EQ(PerformanceControls::remaining(240, inf), 0);

    EXPECT_EQ(PerformanceControls::urgency(10, 240), 2);
    EXPECT_EQ(PerformanceControls::urgency(10.5, 240), 1);
    EXPECT_EQ(PerformanceControls::urgency(30, 240), 1);
    EXPECT_EQ(PerformanceControls::urgency(30.5, 240), 0);
    EXPECT_EQ(PerformanceControls::urgency(5, 0), 0);
    EXPECT_TRUE(PerformanceControls::maySeek(false));
    EXPECT_FALSE(PerformanceControls::maySeek(true));
}

TEST(TimeLabelTest, ClockText) {
    EXPECT_EQ(kelvara::timeLabel(0), QStringLiteral("00:00"));
    EXPECT_EQ(kelvara::timeLabel(59.9), QStringLiteral("00:59"));
    EXPECT_EQ(kelvara::timeLabel(3599.99), QStringLiteral("59:59"));
    EXPECT_EQ(kelvara::timeLabel(3725), QStringLiteral("1:02:05"));
    EXPECT_EQ(kelvara::timeLabel(36'000), QStringLiteral("10:00:00"));
    for (const double unusable : {-1.0, notANumber, inf, -inf}) {
        EXPECT_EQ(kelvara::timeLabel(unusable), QStringLiteral("00:00")) << unusable;
    }
}

TEST(CueColorTest, PaletteIsClampedToFourColours) {
    EXPECT_EQ(kelvara::cueColor(-3), kelvara::cueColor(0));
    EXPECT_EQ(kelvara::cueColor(9), kelvara::cueColor(3));
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_NE(kelvara::cueColor(a), kelvara::cueColor(b));
        }
    }
    EXPECT_EQ(kelvara::cueColor(1).argb() >> 24, 0xFFu);  // opaque
}
