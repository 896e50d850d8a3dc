// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_alignment.h"

#include "analysis/two_thread_range.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kelvara {

namespace {

constexpr double onsetThreshold = 0.12;
constexpr std::size_t minimumOnsets = 12;
constexpr std::size_t minimumPhaseBins = 24;
constexpr std::array<double, 5> phaseKernel{0.15, 0.6, 1.0, 0.6, 0.15};
constexpr int refinementSteps = 80;   // per envelope sample, each way
constexpr int refinementPollEvery = 16;
constexpr int regressionIterations = 3;
constexpr double largestRegressionStep = 0.02;  // of the period
constexpr double firstBeatShare = 0.25;         // of the strong weight of the aligned onsets

struct Onset {
    double time;
    double weight;
};

struct Phase {
    double period;
    double phase;  // seconds: where beat number 0 lies
};

// Local peaks of the envelope above the threshold, stamped at the centre of their window.
std::vector<Onset> pickOnsets(std::span<const double> strengths, double rate, bool centred) {
    const double stamp = centred ? 0.5 : 0.0;
    std::vector<Onset> onsets;
    for (std::size_t i = 1; i + 1 < strengths.size(); ++i) {
        const double s = strengths[i];
        if (s > onsetThreshold && strengths[i - 1] <= s && strengths[i + 1] < s) {
            onsets.push_back({(static_cast<double>(i) + stamp) / rate, s});
        }
    }
    return onsets;
}

struct PhaseScore {
    double score;
    double phase;
};

// Folds the onset weights onto one period, smooths the fold circularly with the phase kernel
// and takes the fullest bin (the first on ties) as the phase. `folded` is scratch space kept
// across calls.
PhaseScore fitPhase(const std::vector<Onset>& onsets, double period, double rate, std::vector<double>& folded) {
    const std::size_t bins = std::max(minimumPhaseBins, static_cast<std::size_t>(period * rate));
    const auto binCount = static_cast<double>(bins);
    folded.assign(bins, 0.0);
    const double inverse = 1 / period;
    for (const Onset& onset : onsets) {
        const double beats = onset.time * inverse;
        const double fraction = beats - std::floor(beats);
        const auto centre = static_cast<std::size_t>(fraction * binCount + 0.5);
        folded[centre < bins ? centre : 0] += onset.weight;
    }
    constexpr std::size_t reach = phaseKernel.size() / 2;
    PhaseScore best{-1, 0};
    for (std::size_t bin = 0; bin < bins; ++bin) {
        double smoothed = 0;
        for (std::size_t k = 0; k < phaseKernel.size(); ++k) {
            smoothed += phaseKernel[k] * folded[(bin + bins + reach - k) % bins];
        }
        if (smoothed > best.score) {
            best = {smoothed, period * static_cast<double>(bin) / binCount};
        }
    }
    return best;
}

// Searches ±1 envelope sample around the period in steps of 1/80 sample; the first best wins.
// The candidates are scored on two threads, then compared in order.
Phase refinePeriod(const std::vector<Onset>& onsets, double period, double rate, const CancelCheck& cancelled) {
    std::vector<double> candidates{period};
    for (int s = -refinementSteps; s <= refinementSteps; ++s) {
        candidates.push_back(period + (s / rate) / refinementSteps);
    }
    std::vector<PhaseScore> fits(candidates.size());
    const auto someCandidates = [&](std::size_t first, std::size_t end, const CancelCheck& stop) {
        std::vector<double> folded;
        for (std::size_t c = first; c < end; ++c) {
            if (c % refinementPollEvery == 0) {
                throwIfCancelled(stop);
            }
            fits[c] = fitPhase(onsets, candidates[c], rate, folded);
        }
    };
    acrossTwoThreads(candidates.size(), someCandidates, cancelled);
    Phase best{period, 0};
    double bestScore = -1;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        if (fits[c].score > bestScore) {
            bestScore = fits[c].score;
            best = {candidates[c], fits[c].phase};
        }
    }
    return best;
}

// How far an onset may sit from its grid line and still count as on the grid.
double tolerance(double period) { return std::min(0.05, 0.12 * period); }

// The grid line an onset at `time` is measured against, and its distance from it.
struct GridOffset {
    double beat;
    double deviation;
};

GridOffset gridOffset(double time, const Phase& grid, bool nearestBeat) {
    const double x = time - grid.phase;
    const double beats = x / grid.period;
    const double beat = nearestBeat ? std::round(beats) : std::trunc(beats);
    return {beat, std::abs(x - beat * grid.period)};
}

// Weighted least squares of onset time on beat number over the onsets on the grid, at most
// three rounds; a round that would move the period by 2 % or more is not taken.
Phase regressGrid(const std::vector<Onset>& onsets, Phase grid, bool nearestBeat) {
    for (int round = 0; round < regressionIterations; ++round) {
        const double tau = tolerance(grid.period);
        double w = 0, k = 0, t = 0, kk = 0, tk = 0;
        for (const Onset& onset : onsets) {
            const GridOffset offset = gridOffset(onset.time, grid, nearestBeat);
            if (offset.deviation < tau) {
                const double g = onset.weight;
                w += g;
                k += g * offset.beat;
                t += g * onset.time;
                kk += g * offset.beat * offset.beat;
                tk += g * onset.time * offset.beat;
            }
        }
        const double det = kk * w - k * k;
        if (w <= 0 || det <= 0) {
            break;
        }
        const double period = (tk * w - t * k) / det;
        if (std::abs(period - grid.period) >= largestRegressionStep * grid.period) {
            break;
        }
        grid = {period, (t - k * period) / w};
    }
    return grid;
}

// The 90th percentile of the weights of the onsets that `counts` (at least one does).
template <typename Predicate>
double strongWeight(const std::vector<Onset>& onsets, Predicate counts) {
    std::vector<double> weights;
    for (const Onset& onset : onsets) {
        if (counts(onset)) {
            weights.push_back(onset.weight);
        }
    }
    const auto at = weights.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(weights.size() - 1) * 0.9);
    std::nth_element(weights.begin(), at, weights.end());
    return *at;
}

}  // namespace

std::optional<BeatAlignment::Result> BeatAlignment::fit(std::span<const double> strengths, double rate, double period,
                                                        const TempoVariant& variant, const CancelCheck& cancelled) {
    const std::vector<Onset> onsets = pickOnsets(strengths, rate, variant.centredOnsets);
    if (onsets.size() < minimumOnsets) {
        return std::nullopt;
    }
    const Phase grid = regressGrid(onsets, refinePeriod(onsets, period, rate, cancelled), variant.nearestBeatNumbers);

    const double tau = tolerance(grid.period);
    const auto onGrid = [&](const Onset& onset) {
        return gridOffset(onset.time, grid, variant.nearestBeatNumbers).deviation < tau;
    };
    const auto first = std::find_if(onsets.begin(), onsets.end(), onGrid);
    if (first == onsets.end()) {
        return std::nullopt;
    }
    // Rises of a noise floor before the music fall on grid lines by chance; the grid starts
    // at the first onset on the grid that is as strong as a beat.
    const double beatStrength = firstBeatShare * strongWeight(onsets, onGrid);
    const auto firstBeat =
        std::find_if(first, onsets.end(), [&](const Onset& onset) { return onGrid(onset) && onset.weight >= beatStrength; });
    // The grid line nearest to that onset: an onset may sit a hair before its line, and the
    // line before it would put every square one beat early.
    const double origin = grid.phase + grid.period * std::round((firstBeat->time - grid.phase) / grid.period);
    return Result{grid.period, std::max(origin, 0.0),
                  static_cast<std::size_t>(std::count_if(first, onsets.end(), onGrid))};
}

}  // namespace kelvara
