// SPDX-License-Identifier: GPL-3.0-or-later
// How often the playing strip repaints: only when the frame would look different, and in the
// whole-track view it sleeps between those moments.
#include "paint_counter.h"
#include "ui/waveform_view.h"
#include "ui_test_support.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

// A 400 px strip over a 400 s track playing from 100 s with the clock: one pixel a second at
// whole-track zoom. Counts the frames painted over one second.
int paintsInOneSecondAt(double zoom) {
    application();
    WaveformView strip;
    strip.resize(400, 80);
    QElapsedTimer clock;
    clock.start();
    strip.setPositionSource([&] { return 100.0 + static_cast<double>(clock.elapsed()) / 1000; });
    WaveformScene scene{.duration = 400, .animating = true, .playing = true};
    scene.viewport.magnify(zoom, 0.25);
    strip.setScene(scene);
    strip.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&strip));
    EXPECT_TRUE(strip.isAnimating());
    QTest::qWait(100);
    PaintCounter counter(&strip);
    QTest::qWait(1000);
    return counter.count;
}

TEST(StripFramesTest, TheWholeTrackViewRepaintsOnlyWhenTheLineOrTheClockChanges) {
    const int wholeTrack = paintsInOneSecondAt(1);
    EXPECT_GE(wholeTrack, 1) << "the line and the clock still move";
    EXPECT_LE(wholeTrack, 2) << "the pixel and the clock second change together, once a second";
    const int zoomed = paintsInOneSecondAt(16);
    EXPECT_GT(zoomed, 2 * wholeTrack) << "zoomed in, the line glides by quarter pixels";
}

}  // namespace
}  // namespace kelvara::testing
