// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_period_search.h"

#include "analysis/lag_correlation.h"
#include "analysis/two_thread_range.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara {

namespace {

constexpr std::size_t minimumBeats = 8;
constexpr double minimumScore = 0.08;
constexpr double flatCurvature = 0.000001;

// The correlation for the lags firstLag…lastLag (entries below firstLag stay 0), on two
// threads: each lag is a sum over the whole envelope.
std::vector<double> correlations(const LagCorrelation& correlation, std::size_t firstLag, std::size_t lastLag,
                                 const CancelCheck& cancelled) {
    std::vector<double> result(lastLag + 1, 0.0);
    throwIfCancelled(cancelled);
    const auto someLags = [&](std::size_t first, std::size_t end, const CancelCheck& stop) {
        for (std::size_t lag = firstLag + first; lag < firstLag + end; ++lag) {
            result[lag] = correlation.at(lag);
            throwIfCancelled(stop);
        }
    };
    acrossTwoThreads(lastLag + 1 - firstLag, someLags, cancelled);
    return result;
}

// Fractional offset of a local maximum from the parabola through it and its neighbours.
double parabolicOffset(double before, double peak, double after) {
    const double curvature = before - 2 * peak + after;
    if (std::abs(curvature) <= flatCurvature) {
        return 0;
    }
    return std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
}

}  // namespace

double BeatPeriodSearch::tempoPrior(double tempo) {
    const double octaves = std::log2(tempo / 120.0);
    return std::exp(-0.08 * octaves * octaves);
}

std::optional<BeatPeriodSearch::Result> BeatPeriodSearch::find(std::span<const double> strengths, double rate,
                                                                bool barSupport, const CancelCheck& cancelled) {
    const auto minLag = static_cast<std::size_t>(rate * 60 / fastestTempo);
    const auto maxLag = static_cast<std::size_t>(rate * 60 / slowestTempo);
    // Bar support looks up to four periods ahead (plus rounding and the neighbour); eight
    // periods fit in the track, so those lags exist.
    if (minLag < 2 || strengths.size() <= minimumBeats * maxLag) {
        return std::nullopt;
    }
    const LagCorrelation correlation(strengths);
    const std::vector<double> a = correlations(correlation, minLag - 1, maxLag + 1, cancelled);

    std::optional<Result> best;
    double bestRank = 0;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        if (a[lag - 1] > a[lag] || a[lag + 1] > a[lag]) {
            continue;
        }
        const double x = static_cast<double>(lag) + parabolicOffset(a[lag - 1], a[lag], a[lag + 1]);
        const double period = x / rate;
        const double prior = tempoPrior(60 / period);
        // The beat gathers support from the bar; a lag of one and a half beats does not.
        const double support =
            barSupport ? (a[lag] + correlation.peakNear(2 * x) + correlation.peakNear(3 * x) + correlation.peakNear(4 * x)) / 4
                       : a[lag];
        const double rank = support * prior;
        if (!best || rank > bestRank) {
            bestRank = rank;
            best = Result{period, a[lag] * prior};
        }
    }
    if (!best || best->score <= minimumScore) {
        return std::nullopt;
    }
    return best;
}

}  // namespace kelvara
