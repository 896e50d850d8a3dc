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

bool allUnit(const std::vector<float>& values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v) && v >= 0.0f && v <= 1.0f; });
}

float maximum(std::span<const float> values) { return *std::max_element(values.begin(), values.end()); }

double sumOfSquares(std::span<const float> values) {
    double sum = 0;
    for (const float v : values) {
        sum += static_cast<double>(v) * static_cast<double>(v);
    }
    return sum;
}

std::span<const float> slice(const std::vector<float>& values, Bucket b) {
    return std::span<const float>(values).subspan(static_cast<std::size_t>(b.first),
                                                  static_cast<std::size_t>(b.end - b.first));
}

// The 95th-percentile RMS of the whole track, never below 0.001 so silence draws flat.
double referenceLevel(const std::vector<float>& rms) {
    std::vector<float> sorted = rms;
    const std::size_t n = sorted.size();
    const auto at = std::min(n - 1, static_cast<std::size_t>(static_cast<double>(n) * 0.95));
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(at), sorted.end());
    return std::max(static_cast<double>(sorted[at]), 0.001);
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
        const Bucket b = bucket(i, k, lo, span);
        const auto m = static_cast<double>(b.end - b.first);
        const double relative = std::min(std::sqrt(sumOfSquares(slice(rms, b)) / m) / reference, 1.0);
        columns.push_back({
            .peak = maximum(slice(peaks, b)),
            .level = static_cast<float>(std::pow(relative, 1.25)),
            .low = static_cast<float>(sumOfSquares(slice(low, b)) / m),
            .mid = static_cast<float>(sumOfSquares(slice(mid, b)) / m),
            .high = static_cast<float>(sumOfSquares(slice(high, b)) / m),
        });
    }
    return columns;
}

}  // namespace kelvara
