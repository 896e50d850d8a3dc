// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/onset_envelope.h"

#include "analysis/two_thread_range.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <span>

namespace kelvara {

namespace {

constexpr std::size_t cancelPollInterval = 1'024;
constexpr double highestRate = 200;  // samples per second
constexpr double localMeanHalfWindow = 0.2;  // seconds
constexpr double meaningfulStrength = 0.0001;
constexpr std::size_t minimumRises = 12;
constexpr double minimumLargestRise = 0.01;
constexpr double strengthPercentile = 0.9;
constexpr double faintStrength = 0.05;
constexpr double strongRise = 10 * faintStrength;
constexpr double cappedReferenceFloor = 0.01;
constexpr double denseShare = 0.2;

constexpr std::size_t lowBand = 0;  // in the order the bands are measured: low, mid, high

struct Band {
    const std::vector<float>& values;
    double weight;
};

double meanSquare(std::span<const float> points) {
    double sum = 0;
    for (const float v : points) {
        sum += static_cast<double>(v * v);  // squared in single precision, as the points were stored
    }
    return sum / static_cast<double>(points.size());
}

// Per envelope sample: the weighted rises of the three log band levels, the low band's own
// rise, and the band energy.
struct BandMeasures {
    std::vector<double> rises;
    std::vector<double> lowRises;
    std::vector<double> energy;
};

// The mean square of a band over the points that envelope sample i of m covers (n points).
double bandPower(const std::vector<float>& values, std::uint64_t i, std::uint64_t n, std::uint64_t m) {
    const std::uint64_t first = i * n / m;
    const std::uint64_t end = std::max(first + 1, (i + 1) * n / m);
    return meanSquare(std::span<const float>(values).subspan(first, end - first));
}

double logLevel(double power) { return std::log(1.0 + 100.0 * std::sqrt(power)); }

// On two threads; the second half starts from the levels just before it, so every sample
// comes out as if one thread had gone through them all.
BandMeasures measureBands(const Waveform& waveform, std::size_t sampleCount, const CancelCheck& cancelled) {
    const std::array<Band, 3> bands{{{waveform.low, 1.4}, {waveform.mid, 1.0}, {waveform.high, 0.7}}};
    const auto n = static_cast<std::uint64_t>(waveform.low.size());
    const std::uint64_t m = sampleCount;
    const std::vector<double> zeros(sampleCount, 0.0);
    BandMeasures measures{zeros, zeros, zeros};
    const auto someSamples = [&](std::size_t firstSample, std::size_t endSample, const CancelCheck& stop) {
        std::array<double, 3> previous{};
        for (std::size_t b = 0; firstSample > 0 && b < bands.size(); ++b) {
            previous[b] = logLevel(bandPower(bands[b].values, firstSample - 1, n, m));
        }
        for (std::uint64_t i = firstSample; i < endSample; ++i) {
            if (i % cancelPollInterval == 0) {
                throwIfCancelled(stop);
            }
            for (std::size_t b = 0; b < bands.size(); ++b) {
                const double power = bandPower(bands[b].values, i, n, m);
                const double level = logLevel(power);
                const double rise = std::max(0.0, level - previous[b]);
                if (b == lowBand) {
                    measures.lowRises[i] = rise;
                }
                measures.rises[i] += bands[b].weight * rise;
                measures.energy[i] += power;
                previous[b] = level;
            }
        }
    };
    acrossTwoThreads(m, someSamples, cancelled);
    return measures;
}

// Mean of `values` over ±halfWindow around each index (clipped at the ends).
std::vector<double> localMeans(const std::vector<double>& values, std::size_t halfWindow) {
    const std::size_t m = values.size();
    std::vector<double> prefix(m + 1, 0.0);
    for (std::size_t i = 0; i < m; ++i) {
        prefix[i + 1] = prefix[i] + values[i];
    }
    std::vector<double> means(m);
    for (std::size_t i = 0; i < m; ++i) {
        const std::size_t lo = i > halfWindow ? i - halfWindow : 0;
        const std::size_t hi = std::min(m, i + halfWindow + 1);
        means[i] = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
    }
    return means;
}

// `values` less their local `means`, never negative.
std::vector<double> aboveLocalMean(std::vector<double> values, const std::vector<double>& means) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = std::max(0.0, values[i] - means[i]);
    }
    return values;
}

// The value at index Int((count − 1) × fraction) of the sorted values; reorders `values`.
double percentile(std::vector<double>& values, double fraction) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(values.size() - 1) * fraction);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Faint noise: the 90th percentile is low and there are not even a dozen clear rises above it.
// The count matters because a sparse rhythm (a slow click track over a −50 dB noise floor)
// has its 90th percentile in the noise, far below its beats.
bool faintNoise(const std::vector<double>& rises, double reference) {
    const auto strong = std::count_if(rises.begin(), rises.end(), [](double e) { return e > strongRise; });
    return reference < faintStrength && static_cast<std::size_t>(strong) < minimumRises;
}

// A local mean that hardly moves: its 10th percentile within 10 % of its 90th.
bool steady(const std::vector<double>& localMean) {
    std::vector<double> means = localMean;
    return percentile(means, 0.1) >= 0.9 * percentile(means, 0.9);
}

// A steady tone (or drone, or hiss): rises spread densely over the track rather than a few
// clicks, and either the mean rise hardly moves while most rises are nearly as large as the
// 90th percentile, or the band energy itself hardly moves.
//
// The density counts rises against all envelope samples: a clean click track has only its
// clicks as rises, all alike, and between 135 and 165 BPM one click per window keeps both
// local means as steady as a tone's. The energy test catches tones whose ripple, aliased
// by the envelope windows, makes the mean rise wander (a 50 Hz tone of two minutes, a chord
// of five).
bool steadyTone(const OnsetEnvelope& envelope, std::vector<double>& rises, double reference) {
    const bool dense = static_cast<double>(rises.size()) >= denseShare * static_cast<double>(envelope.strength.size());
    return dense && ((steady(envelope.localMean) && percentile(rises, 0.5) >= 0.3 * reference) ||
                     steady(envelope.energyMean));
}

}  // namespace

OnsetEnvelope OnsetEnvelope::build(const Waveform& waveform, double rate, std::size_t sampleCount,
                                   const CancelCheck& cancelled) {
    OnsetEnvelope envelope;
    envelope.rate = rate;
    BandMeasures measures = measureBands(waveform, sampleCount, cancelled);
    const auto halfWindow = std::max<std::size_t>(1, static_cast<std::size_t>(localMeanHalfWindow * rate));
    envelope.localMean = localMeans(measures.rises, halfWindow);
    envelope.energyMean = localMeans(measures.energy, halfWindow);
    envelope.strength = aboveLocalMean(std::move(measures.rises), envelope.localMean);
    const std::vector<double> lowMeans = localMeans(measures.lowRises, halfWindow);
    envelope.lowStrength = aboveLocalMean(std::move(measures.lowRises), lowMeans);
    return envelope;
}

double OnsetEnvelope::rateFor(const Waveform& waveform) {
    return std::min(static_cast<double>(waveform.peaks.size()) / waveform.duration, highestRate);
}

OnsetEnvelope OnsetEnvelope::build(const Waveform& waveform, const CancelCheck& cancelled) {
    const double rate = rateFor(waveform);
    return build(waveform, rate, static_cast<std::size_t>(waveform.duration * rate), cancelled);
}

std::optional<std::vector<double>> OnsetEnvelope::normalised(const TempoVariant& variant) const {
    std::vector<double> rises;
    std::copy_if(strength.begin(), strength.end(), std::back_inserter(rises),
                 [](double e) { return e > meaningfulStrength; });
    if (rises.size() < minimumRises || *std::max_element(rises.begin(), rises.end()) <= minimumLargestRise) {
        return std::nullopt;
    }
    double reference = percentile(rises, strengthPercentile);
    if (variant.levelGates && (faintNoise(rises, reference) || steadyTone(*this, rises, reference))) {
        return std::nullopt;
    }
    reference = std::max(reference, cappedReferenceFloor);
    std::vector<double> result(strength.size());
    std::transform(strength.begin(), strength.end(), result.begin(), [&](double e) {
        return variant.uncappedStrengths ? e / reference : std::min(e / reference, 1.0);
    });
    return result;
}

}  // namespace kelvara
