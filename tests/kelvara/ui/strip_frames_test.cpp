// SPDX-License-Identifier: GPL-3.0-or-later
// How often the playing strip repaints: only when the frame would look different, and in the
// whole-track view it sleeps between those moments; and what: only where the frame changed,
// which must add up to the whole frame.
#include "paint_counter.h"
#include "ui/waveform_view.h"
#include "ui_test_support.h"
#include "wait_until.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>
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

// Paint events, and the largest area one of them covered (in pixels, not its bounding box).
class PaintedArea : public QObject {
public:
    explicit PaintedArea(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    int largest = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            int area = 0;
            for (const QRect& part : static_cast<QPaintEvent*>(event)->region()) {
                area += part.width() * part.height();
            }
            largest = std::max(largest, area);
            ++count;
        }
        return false;
    }
};

// The play line crosses pixels, the clock turns seconds and a seek jumps: each frame repaints
// a narrow part, and what the screen holds afterwards is the frame a full repaint gives.
TEST(StripFramesTest, PartialFramesAddUpToTheFullFrame) {
    application();
    WaveformView strip;
    strip.resize(400, 80);
    double position = 100;
    strip.setPositionSource([&] { return position; });
    strip.setWaveform(steadyWaveform(200));
    strip.setScene({.duration = 200, .canControl = true});  // two pixels a second
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    QTest::qWait(50);
    PaintedArea painted(&strip);
    for (const double next : {100.6, 101.4, 103.0, 150.0, 149.3}) {
        position = next;
        const int before = painted.count;
        painted.largest = 0;
        strip.followPosition();
        ASSERT_TRUE(waitUntil([&] { return painted.count > before; })) << "at " << next;
        EXPECT_LT(painted.largest, 400 * 80 / 2) << "at " << next << ": only the changes are repainted";
        const QImage onScreen = strip.screen()->grabWindow(strip.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage full = strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(onScreen, full) << "at " << next;  // grabbing repaints the whole strip
    }

    // A part uncovered by another window, while the track moved on unseen, shows the frame
    // the rest of the strip shows.
    const QImage shown = strip.screen()->grabWindow(strip.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    position = 170;
    strip.repaint(QRect(0, 0, 400, 80).adjusted(100, 0, 0, 0));
    EXPECT_EQ(strip.screen()->grabWindow(strip.winId()).toImage().convertToFormat(QImage::Format_RGB32), shown);
}

}  // namespace
}  // namespace kelvara::testing
