// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_period_search.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara {

namespace {

constexpr double fastestTempo = 200;  // BPM
constexpr double slowestTempo = 65;   // BPM
constexpr std::size_t minimumBeats = 8;
constexpr double minimumScore = 0.08;
constexpr double flatCurvature = 0.000001;
constexpr double smallestNorm = 0.000001;

// Σ a[j]·b[j] in four running sums, so that the additions do not wait on each other.
double dotProduct(const double* a, const double* b, std::size_t count) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t j = 0;
    for (; j + 4 <= count; j += 4) {
        s0 += a[j] * b[j];
        s1 += a[j + 1] * b[j + 1];
        s2 += a[j + 2] * b[j + 2];
        s3 += a[j + 3] * b[j + 3];
    }
    for (; j < count; ++j) {
        s0 += a[j] * b[j];
    }
    return (s0 + s1) + (s2 + s3);
}

// Normalised autocorrelation for the lags firstLag…lastLag (entries below firstLag stay 0).
// The energies of the two overlapping parts come from one prefix sum of squares.
std::vector<double> autocorrelation(std::span<const double> x, std::size_t firstLag, std::size_t lastLag,
                                    const CancelCheck& cancelled) {
    const std::size_t m = x.size();
    std::vector<double> energy(m + 1, 0.0);
    for (std::size_t j = 0; j < m; ++j) {
        energy[j + 1] = energy[j] + x[j] * x[j];
    }
    std::vector<double> result(lastLag + 1, 0.0);
    throwIfCancelled(cancelled);
    for (std::size_t lag = firstLag; lag <= lastLag; ++lag) {
        const double products = dotProduct(x.data() + lag, x.data(), m - lag);
        const double norm = std::sqrt((energy[m] - energy[lag]) * energy[m - lag]);
        result[lag] = products / std::max(norm, smallestNorm);
        if (lag < lastLag) {
            throwIfCancelled(cancelled);
        }
    }
    return result;
}

// 1 at 120 BPM, falling slowly by octaves away from it.
double tempoPrior(double tempo) {
    const double octaves = std::log2(tempo / 120.0);
    return std::exp(-0.08 * octaves * octaves);
}

// The largest autocorrelation at the lag nearest to `lag` and its two neighbours, so that a
// multiple of a fractional period still finds its peak.
double peakNear(const std::vector<double>& correlation, double lag) {
    const auto j = static_cast<std::size_t>(std::lround(lag));
    return std::max({correlation[j - 1], correlation[j], correlation[j + 1]});
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

std::optional<BeatPeriodSearch::Result> BeatPeriodSearch::find(std::span<const double> strengths, double rate,
                                                                bool barSupport, const CancelCheck& cancelled) {
    const auto minLag = static_cast<std::size_t>(rate * 60 / fastestTempo);
    const auto maxLag = static_cast<std::size_t>(rate * 60 / slowestTempo);
    if (minLag < 2 || strengths.size() <= minimumBeats * maxLag) {
        return std::nullopt;
    }
    // With bar support the candidates look up to four periods ahead (plus rounding and the
    // neighbour); eight periods fit in the track, so those lags exist.
    const std::size_t lastLag = barSupport ? 4 * maxLag + 3 : maxLag + 1;
    const std::vector<double> a = autocorrelation(strengths, minLag - 1, lastLag, cancelled);

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
        const double support = barSupport ? (a[lag] + peakNear(a, 2 * x) + peakNear(a, 3 * x) + peakNear(a, 4 * x)) / 4
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
