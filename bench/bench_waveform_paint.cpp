// SPDX-License-Identifier: GPL-3.0-or-later
// One animation frame of the waveform strip at its default size (640 × 108, 475 columns) with
// grid, cues, a loop and the hover readout, painted offscreen. Baseline in the same run:
// filling a rectangle of the same size, the least any frame costs. Also timed: the column and
// layer rebuild that runs on resize, zoom and pan (not per frame).
#include "models/waveform.h"
#include "ui/strip_painter.h"
#include "ui/waveform_layers.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>

namespace {

using namespace kelvara;

constexpr QSize stripSize(640, 108);
constexpr int columnsOnScreen = 475;

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

void BM_PaintStripFrame(benchmark::State& state) {
    const Waveform waveform = track();
    const WaveformScene strip = scene();
    WaveformLayers layers;
    layers.rebuild(waveform.displayColumns(columnsOnScreen, 0, 1), {640, StripPainter::bandHeight(108)}, 1);
    QImage target(stripSize, QImage::Format_ARGB32_Premultiplied);
    double position = 70;
    for (auto _ : state) {
        target.fill(Qt::transparent);
        QPainter painter(&target);
        StripPainter(painter, stripSize, strip, layers).paint({position, 300.0, {}});
        position += 1.0 / 60;
    }
}

void BM_BaselineFillRect(benchmark::State& state) {
    QImage target(stripSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        target.fill(Qt::transparent);
        QPainter painter(&target);
        painter.fillRect(QRect(QPoint(), stripSize), QColor(40, 40, 40, 200));
    }
}

void BM_RebuildColumnsAndLayers(benchmark::State& state) {
    const Waveform waveform = track();
    WaveformLayers layers;
    for (auto _ : state) {
        layers.rebuild(waveform.displayColumns(columnsOnScreen, 0, 1), {640, StripPainter::bandHeight(108)}, 1);
        benchmark::DoNotOptimize(layers.image().constBits());
    }
}

BENCHMARK(BM_PaintStripFrame);
BENCHMARK(BM_BaselineFillRect);
BENCHMARK(BM_RebuildColumnsAndLayers);

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
