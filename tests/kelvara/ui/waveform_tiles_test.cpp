// SPDX-License-Identifier: GPL-3.0-or-later
// The tiled waveform against a full repaint of the visible columns: the same picture at every
// zoom, pan offset and pixel density, and a bounded memory however long the track.
#include "ui/waveform_layers.h"
#include "ui/waveform_tiles.h"
#include "ui/waveform_view.h"
#include "ui_test_support.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace kelvara {
namespace {

// Loud and quiet passages with ragged detail and bands that trade places, so a misplaced or
// re-sampled column shows.
Waveform musicLike(double duration, std::size_t points) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> peaks(points), rms(points), low(points), mid(points), high(points);
    for (std::size_t i = 0; i < points; ++i) {
        const auto t = static_cast<float>(i);
        rms[i] = (0.5f + 0.45f * std::sin(t * 0.003f)) * (0.6f + 0.4f * unit(random));
        peaks[i] = std::min(1.0f, rms[i] * 1.3f);
        low[i] = rms[i] * (0.5f + 0.5f * std::sin(t * 0.01f + 1) * std::sin(t * 0.01f + 1));
        mid[i] = rms[i] * 0.4f * unit(random);
        high[i] = rms[i] * 0.3f * (0.5f + 0.5f * std::cos(t * 0.02f));
    }
    return Waveform::make(duration, peaks, rms, low, mid, high);
}

// How far two pictures of the waveform lie apart: the share of the drawn pixels (either side
// not transparent) that no pixel of the other picture within `slack` pixels along the row
// matches to 24 of 255 in every channel. The slack forgives the stretch that a re-sampled
// repaint has; a misplaced or missing piece of waveform does not fit within it.
double mismatch(const QImage& a, const QImage& b, int slack) {
    const auto channelsAt = [](const QImage& image, int x, int y) { return image.constScanLine(y) + 4 * static_cast<std::ptrdiff_t>(x); };
    std::int64_t drawn = 0;
    std::int64_t unmatched = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (channelsAt(a, x, y)[3] == 0 && channelsAt(b, x, y)[3] == 0) {
                continue;
            }
            ++drawn;
            bool matched = false;
            for (int dx = -slack; dx <= slack && !matched; ++dx) {
                if (x + dx < 0 || x + dx >= b.width()) {
                    continue;
                }
                matched = true;
                for (int c = 0; c < 4; ++c) {
                    matched = matched && std::abs(channelsAt(a, x, y)[c] - channelsAt(b, x + dx, y)[c]) <= 24;
                }
            }
            unmatched += matched ? 0 : 1;
        }
    }
    return drawn == 0 ? 0.0 : static_cast<double>(unmatched) / static_cast<double>(drawn);
}

constexpr double bandHeight = 90;

QImage repaint(const Waveform& waveform, const WaveformViewport& view, double width, qreal ratio) {
    WaveformLayers layers;
    const int across = static_cast<int>(width / 1.35);
    layers.rebuild(waveform.displayColumns(across, view.rangeLower(), view.rangeUpper()), {width, bandHeight}, ratio);
    return layers.image();
}

QImage tiled(WaveformTiles& tiles, const Waveform& waveform, const WaveformViewport& view, double width, qreal ratio) {
    return tiles.band(waveform, view, static_cast<int>(width / 1.35), {width, bandHeight}, ratio);
}

// Sliding columns differ from columns re-sampled at each offset only in detail: deep in,
// today's repaint also stretches by up to one column depending on where the view starts.
// A picture one twentieth of the view off is far outside these bounds.
TEST(WaveformTiles, LookLikeAFullRepaintAtEveryZoomOffsetAndDensity) {
    testing::application();
    const Waveform waveform = musicLike(240, 16'000);
    for (const qreal ratio : {1.0, 2.0}) {
        WaveformTiles tiles;
        for (const double zoom : {1.0, 4.0, 64.0}) {
            for (const double start : {0.0, 0.37, 1.0}) {
                WaveformViewport view;
                view.magnify(zoom, 0);
                view.pan(start * (zoom - 1));  // 1 is the track's end
                const QImage expected = repaint(waveform, view, 640, ratio);
                const QImage actual = tiled(tiles, waveform, view, 640, ratio);
                const int slack = static_cast<int>(std::ceil(2 * 1.35 * ratio));  // two columns
                const std::string where = QStringLiteral("ratio %1 zoom %2 start %3").arg(ratio).arg(zoom).arg(view.start).toStdString();
                ASSERT_EQ(actual.size(), expected.size()) << where;
                EXPECT_EQ(actual.devicePixelRatio(), ratio);
                const double d = mismatch(expected, actual, slack);

                EXPECT_LE(d, zoom == 1 ? 0.0 : 0.04) << where;
                if (zoom > 1 && ratio == 1) {
                    WaveformViewport elsewhere = view;
                    elsewhere.pan(start < 0.5 ? 0.05 : -0.05);
                    EXPECT_GT(mismatch(expected, tiled(tiles, waveform, elsewhere, 640, ratio), slack), 0.1) << where << ": the tiles follow the pan";
                }
            }
        }
    }
}

// A ten-minute track at the deepest zoom, panned through a quarter of its length a view at a
// time, stays within the bound; tiles dropped on the way come back the same when their part
// returns.
TEST(WaveformTiles, KeepWithinTheirMemoryBoundAndRepaintWhatTheyDropped) {
    testing::application();
    const Waveform waveform = musicLike(600, Waveform::maxPoints);
    constexpr std::int64_t bound = 1 << 20;
    WaveformTiles tiles(bound);
    WaveformViewport view;
    view.magnify(WaveformViewport::maximumZoom, 0);
    const QImage first = tiled(tiles, waveform, view, 640, 1);
    for (int step = 1; step < WaveformViewport::maximumZoom / 4; ++step) {
        view.pan(1);
        ASSERT_FALSE(tiled(tiles, waveform, view, 640, 1).isNull());
        ASSERT_LE(tiles.bytes(), bound) << step;
    }
    view.pan(-WaveformViewport::maximumZoom);
    ASSERT_EQ(view.start, 0);
    EXPECT_EQ(tiled(tiles, waveform, view, 640, 1), first);
}

QImage stripAt(WaveformView& view, const WaveformViewport& viewport) {
    view.setScene({.duration = 240, .viewport = viewport});
    return view.grab().toImage();
}

// A zoom shows the last picture stretched at once and the exact one when the worker has
// painted it; a pan meanwhile is not lost. The strip then looks as one opened at that view.
TEST(WaveformTiles, AZoomedStripSettlesOnThePictureOfOneOpenedThere) {
    testing::application();
    const Waveform waveform = musicLike(240, 16'000);
    WaveformView zoomed;
    zoomed.resize(640, 108);
    zoomed.setWaveform(waveform);
    zoomed.setPositionSource([] { return 100.0; });
    const QImage whole = stripAt(zoomed, {});
    ASSERT_TRUE(zoomed.showsExactWaveform());

    WaveformViewport view;
    view.magnify(3, 0.4);
    const QImage standIn = stripAt(zoomed, view);
    EXPECT_FALSE(zoomed.showsExactWaveform());
    EXPECT_NE(standIn, whole) << "the stand-in is stretched";
    view.pan(0.25);
    stripAt(zoomed, view);
    ASSERT_TRUE(testing::waitUntil([&] {
        zoomed.grab();
        return zoomed.showsExactWaveform();
    }));

    WaveformView opened;
    opened.resize(640, 108);
    opened.setWaveform(waveform);
    opened.setPositionSource([] { return 100.0; });
    EXPECT_EQ(zoomed.grab().toImage(), stripAt(opened, view));
}

}  // namespace
}  // namespace kelvara
