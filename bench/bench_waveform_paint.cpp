// SPDX-License-Identifier: GPL-3.0-or-later
// One animation frame of the waveform strip with grid, cues, a loop and the hover readout,
// painted offscreen; baseline in the same run: filling a rectangle of the same size, the least
// any frame costs. And one zoom step and one pan step as the window thread lives them (the
// picture brought up to the new view, then a frame), against the full repaint of the visible
// columns that every step used to cost there; the painting of a new zoom level, which now runs
// on a worker thread, is timed on its own. Each at the default size (640 × 108) and on a wide
// high-density screen (1920 × 108 at device pixel ratio 2).
#include "models/waveform.h"
#include "ui/strip_painter.h"
#include "ui/waveform_band.h"
#include "ui/waveform_layers.h"
#include "ui/waveform_tiles.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>

namespace {

using namespace kelvara;

constexpr int stripHeight = 108;
constexpr double wheelNotch = 12;  // points a line-based wheel pans

// Benchmark arguments: the strip's width in points and the device pixel ratio.
struct Screen {
    double width;
    qreal ratio;

    explicit Screen(const benchmark::State& state) : width(static_cast<double>(state.range(0))), ratio(static_cast<qreal>(state.range(1))) {}
    QSizeF band() const { return {width, StripPainter::bandHeight(stripHeight)}; }
    QSize pixels() const { return {static_cast<int>(width * ratio), static_cast<int>(stripHeight * ratio)}; }
    int columnsAcross() const { return static_cast<int>(width / 1.35); }
};

Waveform track() {
    const std::size_t n = 16'000;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> peaks(n), rms(n), low(n), mid(n), high(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float envelope = 0.55f + 0.45f * std::sin(static_cast<float>(i) * 0.002f);
        rms[i] = envelope * (0.6f + 0.4f * unit(random));
        peaks[i] = std::min(1.0f, rms[i] * 1.3f);
        low[i] = rms[i] * 0.7f;
        mid[i] = rms[i] * 0.4f;
        high[i] = rms[i] * 0.2f * unit(random);
    }
    return Waveform::make(240, peaks, rms, low, mid, high);
}

WaveformScene scene() {
    WaveformScene scene;
    scene.duration = 240;
    scene.beatGrid = BeatGrid{126, 0.4, 0.9};
    scene.cues = {{QUuid::createUuid(), 30, QStringLiteral("вокал"), 0},
                  {QUuid::createUuid(), 95, QStringLiteral("припев"), 1},
                  {QUuid::createUuid(), 180, QStringLiteral("выход"), 3}};
    scene.activeLoop = LoopRegion{61, 76.2};
    scene.loopSelection = LoopRegion{120, 135.2};
    scene.canControl = true;
    scene.animating = true;
    return scene;
}

// A frame of the strip into `target` with the waveform picture in `layers`.
void paintFrame(QImage& target, const Screen& screen, const WaveformScene& strip, const WaveformLayers& layers, double position) {
    target.fill(Qt::transparent);
    QPainter painter(&target);
    StripPainter(painter, QSizeF(screen.width, stripHeight), strip, layers).paint({position, 300.0, {}});
}

QImage frameTarget(const Screen& screen) {
    QImage target(screen.pixels(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(screen.ratio);
    return target;
}

void BM_PaintStripFrame(benchmark::State& state) {
    const Screen screen(state);
    const Waveform waveform = track();
    const WaveformScene strip = scene();
    WaveformLayers layers;
    layers.rebuild(waveform.displayColumns(screen.columnsAcross(), 0, 1), screen.band(), screen.ratio);
    QImage target = frameTarget(screen);
    double position = 70;
    for (auto _ : state) {
        paintFrame(target, screen, strip, layers, position);
        position += 1.0 / 60;
    }
}

void BM_BaselineFillRect(benchmark::State& state) {
    const Screen screen(state);
    QImage target(screen.pixels(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        target.fill(Qt::transparent);
        QPainter painter(&target);
        painter.fillRect(QRect(QPoint(), screen.pixels()), QColor(40, 40, 40, 200));
    }
}

// What every zoom and pan step cost before the tiles: the visible columns painted afresh.
void BM_FullRepaintOfTheVisibleColumns(benchmark::State& state) {
    const Screen screen(state);
    const Waveform waveform = track();
    WaveformViewport view;
    view.magnify(4, 0.3);
    WaveformLayers layers;
    for (auto _ : state) {
        layers.rebuild(waveform.displayColumns(screen.columnsAcross(), view.rangeLower(), view.rangeUpper()), screen.band(), screen.ratio);
        benchmark::DoNotOptimize(layers.image().constBits());
    }
}

// The worker's part of a zoom step: every step is a new zoom level, so every tile on screen is new.
void BM_PaintNewZoomLevel(benchmark::State& state) {
    const Screen screen(state);
    const Waveform waveform = track();
    WaveformTiles tiles;
    WaveformViewport view;
    view.magnify(4, 0.3);
    double factor = 1.5;
    for (auto _ : state) {
        view.magnify(factor, 0.5);
        factor = 1 / factor;
        benchmark::DoNotOptimize(tiles.band(waveform, view, screen.columnsAcross(), screen.band(), screen.ratio).constBits());
    }
}

// The strip as the window thread holds it: the waveform's picture kept up to the view, and a
// frame painted with it at each step.
struct LiveStrip {
    explicit LiveStrip(const benchmark::State& state)
        : screen(state), view{{}, screen.columnsAcross(), screen.band(), screen.ratio}, target(frameTarget(screen)) {
        band.setWaveform(std::make_shared<const Waveform>(track()));
    }

    void step() {
        band.show(layers, view);
        paintFrame(target, screen, strip, layers, 70);
    }

    Screen screen;
    WaveformBand band;
    WaveformScene strip = scene();
    WaveformLayers layers;
    WaveformBand::View view;
    QImage target;
};

// The window thread's part of a pinch or zoom key: the last picture stretched to the new view
// and the new level handed to the worker, then a frame. (The worker runs beside it.)
void BM_ZoomStep(benchmark::State& state) {
    LiveStrip live(state);
    live.view.viewport.magnify(4, 0.3);
    live.step();
    double factor = 1.5;
    for (auto _ : state) {
        live.view.viewport.magnify(factor, 0.5);
        factor = 1 / factor;
        live.step();
    }
}

// Wheel notches through the track at the deepest zoom, where tiles keep coming into view and
// older ones are dropped: the mean includes painting each new tile, and a frame per notch.
void BM_PanStep(benchmark::State& state) {
    LiveStrip live(state);
    WaveformViewport& view = live.view.viewport;
    view.magnify(WaveformViewport::maximumZoom, 0);
    for (auto _ : state) {
        view.pan(view.start >= 1 - view.length() ? -view.start * view.zoom : wheelNotch / live.screen.width);
        live.step();
    }
}

void screens(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({640, 1})->Args({1920, 2})->ArgNames({"width", "ratio"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PaintStripFrame)->Apply(screens);
BENCHMARK(BM_BaselineFillRect)->Apply(screens);
BENCHMARK(BM_FullRepaintOfTheVisibleColumns)->Apply(screens);
BENCHMARK(BM_PaintNewZoomLevel)->Apply(screens);
BENCHMARK(BM_ZoomStep)->Apply(screens);
BENCHMARK(BM_PanStep)->Apply(screens);

}  // namespace

int main(int argc, char** argv) {
    // Painting text needs an application object; no display is needed for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
