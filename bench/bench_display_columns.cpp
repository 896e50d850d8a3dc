// SPDX-License-Identifier: GPL-3.0-or-later
// Display columns of a full-resolution waveform, as the view asks for them on every resize,
// zoom and pan. Baselines in the same run: one plain pass over the rms series, and sorting a
// copy of it (the percentile that every call needs is at most that costly).
#include "models/waveform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace {

constexpr int columnsOnScreen = 475;

const kelvara::Waveform& fullTrack() {
    static const kelvara::Waveform waveform = [] {
        const std::size_t n = kelvara::Waveform::maxPoints;
        std::mt19937 random(7);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        std::vector<float> peaks(n), rms(n), low(n), mid(n), high(n);
        for (std::size_t i = 0; i < n; ++i) {
            const float envelope = 0.5f + 0.5f * std::sin(static_cast<float>(i) * 0.001f);
            rms[i] = envelope * unit(random) * 0.7f;
            peaks[i] = std::min(1.0f, rms[i] * 1.4f);
            low[i] = rms[i] * 0.6f;
            mid[i] = rms[i] * 0.3f;
            high[i] = rms[i] * 0.1f;
        }
        return kelvara::Waveform::make(240, peaks, rms, low, mid, high);
    }();
    return waveform;
}

void displayColumns(benchmark::State& state, double lower, double upper) {
    const kelvara::Waveform& waveform = fullTrack();
    for (auto _ : state) {
        benchmark::DoNotOptimize(waveform.displayColumns(columnsOnScreen, lower, upper));
    }
}

void BM_DisplayColumnsWholeTrack(benchmark::State& state) { displayColumns(state, 0, 1); }
void BM_DisplayColumnsEighthZoom(benchmark::State& state) { displayColumns(state, 0.5, 0.625); }

void BM_BaselineSumRms(benchmark::State& state) {
    const std::vector<float>& rms = fullTrack().rms;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::accumulate(rms.begin(), rms.end(), 0.0));
    }
}

void BM_BaselineSortRmsCopy(benchmark::State& state) {
    const std::vector<float>& rms = fullTrack().rms;
    for (auto _ : state) {
        std::vector<float> sorted = rms;
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
    }
}

}  // namespace

BENCHMARK(BM_BaselineSumRms)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaselineSortRmsCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayColumnsWholeTrack)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayColumnsEighthZoom)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
