// SPDX-License-Identifier: GPL-3.0-or-later
// What the waveform strip draws, read back from its pixels.
#include "ui/strip_painter.h"
#include "ui/system_colors.h"
#include "ui/waveform_view.h"
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace kelvara {
namespace {

using testing::brightnessOfColumn;
using testing::containsColor;

class StripDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        view.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::black);
        view.setPalette(palette);
    }

    QImage draw(QSize size, double position) {
        view.resize(size);
        view.setPositionSource([position] { return position; });
        return view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    }

    int waveformY(int height) const { return static_cast<int>(StripPainter::bandHeight(height) / 2); }

    QApplication& app = testing::application();
    WaveformView view;
};

TEST_F(StripDrawing, BrightPartEndsAtThePlayPosition) {
    view.setWaveform(testing::steadyWaveform(100));
    view.setScene({.duration = 100});
    const QImage image = draw({400, 100}, 50);
    const int y = waveformY(100);
    const int played = brightnessOfColumn(image, 150, y - 2, y + 3);
    const int ahead = brightnessOfColumn(image, 250, y - 2, y + 3);
    ASSERT_GT(ahead, 20) << "the part ahead is faint, not missing";
    EXPECT_GT(played, ahead * 13 / 10);
    // Right next to the play line (x = 200) on either side.
    EXPECT_NEAR(brightnessOfColumn(image, 196, y - 2, y + 3), played, played / 10);
    EXPECT_NEAR(brightnessOfColumn(image, 204, y - 2, y + 3), ahead, ahead / 10);
}

TEST_F(StripDrawing, PlayPositionOutsideTheViewBrightensAllOrNothingAndDrawsNoLine) {
    view.setWaveform(testing::steadyWaveform(100));
    WaveformViewport middle;
    middle.magnify(4, 0.5);  // 37.5…62.5 s
    view.setScene({.duration = 100, .viewport = middle});
    const int y = waveformY(100);

    const QImage before = draw({400, 100}, 10);  // left of the view
    const QImage after = draw({400, 100}, 90);   // right of the view
    for (const int x : {2, 100, 200, 300, 397}) {
        EXPECT_GT(brightnessOfColumn(after, x, y - 2, y + 3), brightnessOfColumn(before, x, y - 2, y + 3) * 13 / 10) << x;
    }
    // No play line: the top rows (where its dot sits) stay dark in both.
    for (int x = 0; x < 400; ++x) {
        ASSERT_LT(brightnessOfColumn(before, x, 0, 2), 200) << x;
        ASSERT_LT(brightnessOfColumn(after, x, 0, 2), 200) << x;
    }
}

TEST_F(StripDrawing, RemainingTimeTurnsOrangeThenRed) {
    view.setScene({.duration = 100});
    const QRect remainingArea(300, 82, 100, 18);
    const QImage calm = draw({400, 100}, 40);
    const QImage warning = draw({400, 100}, 75);  // 25 s left
    const QImage critical = draw({400, 100}, 91);  // 9 s left
    EXPECT_FALSE(containsColor(calm, remainingArea, SystemColors::red(), 30));
    EXPECT_FALSE(containsColor(calm, remainingArea, SystemColors::orange(), 30));
    EXPECT_TRUE(containsColor(warning, remainingArea, SystemColors::orange(), 30));
    EXPECT_FALSE(containsColor(warning, remainingArea, SystemColors::red(), 30));
    EXPECT_TRUE(containsColor(critical, remainingArea, SystemColors::red(), 30));
}

// 120 BPM over 4 minutes with the origin half a beat in, so lines fall on pixel centres.
class GridDrawing : public StripDrawing {
protected:
    QImage drawGrid(int width, double zoom) {
        WaveformViewport viewport;
        viewport.magnify(zoom, 0);
        view.setScene({.duration = 240, .viewport = viewport, .beatGrid = BeatGrid{120, 0.25, 1}});
        return draw({width, 100}, 0);
    }
    // Whether a line was drawn near x (middle rows, away from the ticks and the footer).
    static bool lineNear(const QImage& image, double x) {
        const int pixel = static_cast<int>(x);
        return brightnessOfColumn(image, pixel, 30, 60) > 2;
    }
};

TEST_F(GridDrawing, OnePointPerBeatDrawsOnlyEverySixteenthBeat) {
    const QImage image = drawGrid(480, 1);  // beat b at x = b + 0.5
    EXPECT_TRUE(lineNear(image, 16.5));
    EXPECT_TRUE(lineNear(image, 32.5));
    for (const double beat : {4, 8, 12, 17, 20, 28}) {
        EXPECT_FALSE(lineNear(image, beat + 0.5)) << beat;
    }
}

TEST_F(GridDrawing, FivePointsPerFourBeatsDrawsEveryFourthBeat) {
    const QImage image = drawGrid(600, 1);  // beat b at x = 1.25 b + 0.625
    EXPECT_TRUE(lineNear(image, 5.625));
    EXPECT_TRUE(lineNear(image, 10.625));
    for (const double beat : {2, 3, 5, 6, 7}) {
        EXPECT_FALSE(lineNear(image, 1.25 * beat + 0.625)) << beat;
    }
}

TEST_F(GridDrawing, FivePointsPerBeatDrawsEveryBeatAndSquaresStandOut) {
    const QImage image = drawGrid(480, 5);  // beat b at x = 5 b + 2.5
    for (const double beat : {1, 2, 3, 5}) {
        EXPECT_TRUE(lineNear(image, 5 * beat + 2.5)) << beat;
    }
    EXPECT_GT(brightnessOfColumn(image, 82, 30, 60), brightnessOfColumn(image, 22, 30, 60) * 3);  // beat 16 vs 4
}

TEST_F(GridDrawing, TooManyBeatsInViewDrawNothing) {
    // 300 BPM over 24 hours is 432,000 beats: beyond the cut-off, so not even squares.
    view.setScene({.duration = 86'400, .beatGrid = BeatGrid{300, 0, 1}});
    const QImage image = draw({480, 100}, 0);
    for (int x = 4; x < 480; ++x) {
        ASSERT_FALSE(lineNear(image, x)) << x;
    }
}

// Nothing may land left of the strip however narrow it is. The strip is painted unclipped
// into a wider image at x = 50; the margin on the left must stay empty.
TEST(NarrowStrip, NothingIsDrawnLeftOfTheStrip) {
    testing::application();
    constexpr int margin = 50;
    const Waveform waveform = testing::steadyWaveform(100);
    for (const int width : {0, 2, 100}) {
        const WaveformScene scene{.duration = 100, .seekNotice = QStringLiteral("Перемотка выключена · снимите замок"), .canControl = true};
        WaveformLayers layers;
        layers.rebuild(waveform.displayColumns(std::max(1, width), 0, 1), {static_cast<double>(width), 90}, 1);
        for (const double position : {0.0, 50.0, 100.0}) {
            for (const double hover : {0.0, 1.0, 60.0}) {
                for (const HeldModifiers held : {HeldModifiers{}, HeldModifiers{true, false}, HeldModifiers{false, true}}) {
                    QImage image(width + 2 * margin + 200, 108, QImage::Format_ARGB32_Premultiplied);
                    image.fill(Qt::transparent);
                    {
                        QPainter painter(&image);
                        painter.translate(margin, 0);
                        StripPainter(painter, QSizeF(width, 108), scene, layers).paint({position, hover, held});
                    }
                    for (int x = 0; x < margin; ++x) {
                        ASSERT_EQ(brightnessOfColumn(image, x, 0, 108), 0)
                            << "width " << width << " position " << position << " hover " << hover << " at x " << x - margin;
                    }
                }
            }
        }
    }
}

TEST(NarrowStrip, WidgetSurvivesZeroAndTinyWidths) {
    testing::application();
    WaveformView view;
    view.setWaveform(testing::steadyWaveform(100));
    view.setScene({.duration = 100, .beatGrid = BeatGrid{128, 0, 1}, .seekNotice = QStringLiteral("…"), .canControl = true});
    view.setPositionSource([] { return 50.0; });
    for (const int width : {0, 2, 100, 1}) {
        view.resize(width, 108);
        const QImage image = view.grab().toImage();
        EXPECT_EQ(image.width(), width);
        EXPECT_TRUE(view.hasWaveform());
    }
}

}  // namespace
}  // namespace kelvara
