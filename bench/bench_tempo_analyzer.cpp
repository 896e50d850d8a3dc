// SPDX-License-Identifier: GPL-3.0-or-later
// Tempo detection on a full-resolution record at the highest envelope rate (163.84 s, so the
// 32,768 points give 200 envelope samples per second and the autocorrelation spans ~700
// lags). Baseline in the same run: building the onset envelope alone, one pass over the
// points, so the result reads as "the whole detection costs k envelope passes".
#include "analysis/onset_envelope.h"
#include "analysis/tempo_analyzer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double duration = 163.84;  // seconds: 200 points per second
constexpr double beat = 60.0 / 124;

// The level of a hit struck `since` seconds ago (none before it is struck).
float hit(double since, double level, double decay) {
    return since < 0 ? 0.0f : static_cast<float>(level * std::exp(-since / decay));
}

// A house groove drawn straight into the bands: kicks on the beats, claps on two and four,
// open hats on the off-beats, over a little noise.
const kelvara::Waveform& houseTrack() {
    static const kelvara::Waveform waveform = [] {
        const std::size_t n = kelvara::Waveform::maxPoints;
        std::mt19937 random(11);
        std::uniform_real_distribution<float> ripple(0.0f, 0.02f);
        std::vector<float> peaks(n), rms(n), low(n), mid(n), high(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(n) * duration;
            const double inBeat = std::fmod(t, beat);
            const double inBar = std::fmod(t, 4 * beat);
            low[i] = hit(inBeat, 0.5, 0.08) + ripple(random);
            mid[i] = hit(std::fmod(inBar + 3 * beat, 2 * beat) - beat, 0.3, 0.06) + ripple(random);
            high[i] = hit(inBeat - beat / 2, 0.15, 0.1) + ripple(random);
            rms[i] = std::min(1.0f, low[i] + mid[i] + high[i]);
            peaks[i] = std::min(1.0f, 1.4f * rms[i]);
        }
        return kelvara::Waveform::make(duration, peaks, rms, low, mid, high);
    }();
    return waveform;
}

void BM_TempoAnalyzer(benchmark::State& state) {
    const kelvara::Waveform& waveform = houseTrack();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvara::TempoAnalyzer::analyze(waveform, [] { return false; }));
    }
}

void BM_BaselineOnsetEnvelope(benchmark::State& state) {
    const kelvara::Waveform& waveform = houseTrack();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvara::OnsetEnvelope::build(waveform, 200, kelvara::Waveform::maxPoints, {}));
    }
}

}  // namespace

BENCHMARK(BM_TempoAnalyzer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineOnsetEnvelope)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
