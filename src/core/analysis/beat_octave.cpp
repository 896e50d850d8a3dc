// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_octave.h"

#include "analysis/lag_correlation.h"

namespace kelvara {

namespace {

// Correlations (at a lag of one pulse) that mark a pulse repeating on every beat: all bands
// together, and the mid band alone.
constexpr double strongPulse = 0.45;
constexpr double strongMidPulse = 0.5;
// A low band repeating this well every two pulses has a kick on every other pulse at least.
constexpr double kickEveryOtherPulse = 0.35;

constexpr std::size_t lowBand = 0;
constexpr std::size_t midBand = 1;

// The lag (in envelope samples) the beat moves to, or `lag` itself.
double settledLag(double lag, double rate, const LagCorrelation& all, const LagCorrelation& low,
                  const LagCorrelation& mid) {
    const double half = lag / 2;
    const double halfPulse = half >= rate * 60 / BeatPeriodSearch::fastestTempo ? all.peakNear(half) : 0;
    if (halfPulse > strongPulse && mid.peakNear(half) > strongMidPulse && all.peakNear(2 * lag) >= halfPulse) {
        return half;
    }
    const double twice = 2 * lag;
    const double pulse = all.peakNear(lag);
    if (twice <= rate * 60 / BeatPeriodSearch::slowestTempo && pulse <= strongPulse &&
        all.peakNear(twice) > pulse && low.peakNear(twice) < kickEveryOtherPulse) {
        return twice;
    }
    return lag;
}

}  // namespace

BeatPeriodSearch::Result BeatOctave::settle(const BeatPeriodSearch::Result& beat, std::span<const double> strengths,
                                            const OnsetEnvelope& envelope) {
    const double rate = envelope.rate;
    const LagCorrelation all(strengths);
    const double lag = settledLag(beat.period * rate, rate, all, LagCorrelation(envelope.bandStrength[lowBand]),
                                  LagCorrelation(envelope.bandStrength[midBand]));
    if (lag == beat.period * rate) {
        return beat;
    }
    const double period = lag / rate;
    return {period, all.peakNear(lag) * BeatPeriodSearch::tempoPrior(60 / period)};
}

}  // namespace kelvara
