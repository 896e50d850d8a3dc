// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/waveform.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace kelvara {

namespace {

using Index = std::int64_t;

// Column i of k over [start, start + span) covers [first, end): every column at least one
// point, integer arithmetic with truncating division.
struct Bucket {
    Index first;
    Index end;
};

Bucket bucket(Index i, Index k, Index start, Index span) {
    const Index first = start + i * span / k;
    return {first, std::max(first + 1, start + (i + 1) * span / k)};
}

int outsideUnit(float v) { return (v >= 0.0f) & (v <= 1.0f) ? 0 : 1; }

// Every value finite within 0…1: NaN fails both comparisons and infinities fall outside.
// Checked in fixed blocks without early exit so that the compiler vectorises the inner loop;
// validation runs on every display rebuild.
bool allUnit(std::span<const float> values) {
    constexpr std::size_t block = 16;
    int outside = 0;
    std::size_t i = 0;
    for (; i + block <= values.size(); i += block) {
        for (std::size_t j = 0; j < block; ++j) {
            outside |= outsideUnit(values[i + j]);
        }
    }
    for (; i < values.size(); ++i) {
        outside |= outsideUnit(values[i]);
    }
    return outside == 0;
}

float maximum(std::span<const float> values) { return *std::max_element(values.begin(), values.end()); }

std::span<const float> slice(const std::vector<float>& values, Bucket b) {
    return std::span<const float>(values).subspan(static_cast<std::size_t>(b.first),
                                                  static_cast<std::size_t>(b.end - b.first));
}

double squared(float value) { return static_cast<double>(value) * static_cast<double>(value); }

// The 95th-percentile RMS of the whole track, never below 0.001 so silence draws flat.
double referenceLevel(const std::vector<float>& rms) {
    std::vector<float> sorted = rms;
    const std::size_t n = sorted.size();
    const auto at = std::min(n - 1, static_cast<std::size_t>(static_cast<double>(n) * 0.95));
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(at), sorted.end());
    return std::max(static_cast<double>(sorted[at]), 0.001);
}

WaveformColumn displayColumn(const Waveform& w, Bucket b, double reference) {
    // One pass over the five series with independent sums, so they run side by side.
    float peak = 0;
    double rmsSum = 0, lowSum = 0, midSum = 0, highSum = 0;
    for (auto j = static_cast<std::size_t>(b.first); j < static_cast<std::size_t>(b.end); ++j) {
        peak = std::max(peak, w.peaks[j]);
        rmsSum += squared(w.rms[j]);
        lowSum += squared(w.low[j]);
        midSum += squared(w.mid[j]);
        highSum += squared(w.high[j]);
    }
    const auto m = static_cast<double>(b.end - b.first);
    const double relative = std::min(std::sqrt(rmsSum / m) / reference, 1.0);
    return {
        .peak = peak,
        .level = static_cast<float>(std::pow(relative, 1.25)),
        .low = static_cast<float>(lowSum / m),
        .mid = static_cast<float>(midSum / m),
        .high = static_cast<float>(highSum / m),
    };
}

}  // namespace

Waveform Waveform::make(double duration, std::vector<float> peaks, std::optional<std::vector<float>> rms,
                        std::optional<std::vector<float>> low, std::optional<std::vector<float>> mid,
                        std::optional<std::vector<float>> high) {
    const std::vector<float> zeros(peaks.size(), 0.0f);
    Waveform waveform;
    waveform.duration = duration;
    waveform.rms = rms ? std::move(*rms) : peaks;
    waveform.low = low ? std::move(*low) : zeros;
    waveform.mid = mid ? std::move(*mid) : zeros;
    waveform.high = high ? std::move(*high) : zeros;
    waveform.peaks = std::move(peaks);
    return waveform;
}

bool Waveform::valid() const {
    if ((beatGrid && !beatGrid->valid()) || version != currentVersion) {
        return false;
    }
    if (!std::isfinite(duration) || duration <= 0 || peaks.empty() || peaks.size() > maxPoints) {
        return false;
    }
    const std::size_t n = peaks.size();
    if (rms.size() != n || low.size() != n || mid.size() != n || high.size() != n) {
        return false;
    }
    return allUnit(peaks) && allUnit(rms) && allUnit(low) && allUnit(mid) && allUnit(high);
}

std::vector<float> Waveform::downsample(int columns) const {
    if (columns <= 0 || peaks.empty()) {
        return {};
    }
    const auto n = static_cast<Index>(peaks.size());
    const Index k = std::min<Index>(columns, n);
    std::vector<float> result;
    result.reserve(static_cast<std::size_t>(k));
    for (Index i = 0; i < k; ++i) {
        result.push_back(maximum(slice(peaks, bucket(i, k, 0, n))));
    }
    return result;
}

std::vector<WaveformColumn> Waveform::displayColumns(int count, double rangeLower, double rangeUpper) const {
    // Non-finite bounds would make the index conversion undefined; treat them as nothing to draw.
    if (count <= 0 || !std::isfinite(rangeLower) || !std::isfinite(rangeUpper) || !valid()) {
        return {};
    }
    const auto n = static_cast<Index>(peaks.size());
    const double points = static_cast<double>(n);
    const auto lo = static_cast<Index>(std::clamp(std::trunc(rangeLower * points), 0.0, points - 1));
    const auto hi = static_cast<Index>(std::clamp(std::ceil(rangeUpper * points), static_cast<double>(lo + 1), points));
    const Index span = hi - lo;
    const Index k = std::min<Index>(count, span);
    const double reference = referenceLevel(rms);

    std::vector<WaveformColumn> columns;
    columns.reserve(static_cast<std::size_t>(k));
    for (Index i = 0; i < k; ++i) {
        columns.push_back(displayColumn(*this, bucket(i, k, lo, span), reference));
    }
    return columns;
}

}  // namespace kelvara
