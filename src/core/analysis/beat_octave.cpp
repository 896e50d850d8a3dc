// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_octave.h"

#include "analysis/lag_correlation.h"

namespace kelvara {

namespace {

// A correlation at a lag of one pulse that marks a pulse repeating on every beat.
constexpr double strongPulse = 0.45;
// A low band repeating this well every two pulses has a kick on every other pulse at least.
constexpr double kickEveryOtherPulse = 0.35;

bool eighthsOfASlowerBeat(double lag, const LagCorrelation& all, const LagCorrelation& low) {
    const double pulse = all.peakNear(lag);
    return pulse <= strongPulse && all.peakNear(2 * lag) > pulse && low.peakNear(2 * lag) < kickEveryOtherPulse;
}

}  // namespace

BeatPeriodSearch::Result BeatOctave::settle(const BeatPeriodSearch::Result& beat, std::span<const double> strengths,
                                            const OnsetEnvelope& envelope) {
    const double rate = envelope.rate;
    const double lag = beat.period * rate;
    const LagCorrelation all(strengths);
    if (2 * lag > rate * 60 / BeatPeriodSearch::slowestTempo ||
        !eighthsOfASlowerBeat(lag, all, LagCorrelation(envelope.lowStrength))) {
        return beat;
    }
    const double period = 2 * beat.period;
    return {period, all.peakNear(2 * lag) * BeatPeriodSearch::tempoPrior(60 / period)};
}

}  // namespace kelvara
