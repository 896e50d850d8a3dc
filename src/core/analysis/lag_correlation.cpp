// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/lag_correlation.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

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

}  // namespace

LagCorrelation::LagCorrelation(std::span<const double> series) : series(series), energy(series.size() + 1, 0.0) {
    for (std::size_t j = 0; j < series.size(); ++j) {
        energy[j + 1] = energy[j] + series[j] * series[j];
    }
}

double LagCorrelation::at(std::size_t lag) const {
    const std::size_t m = series.size();
    const double products = dotProduct(series.data() + lag, series.data(), m - lag);
    const double norm = std::sqrt((energy[m] - energy[lag]) * energy[m - lag]);
    return products / std::max(norm, smallestNorm);
}

double LagCorrelation::peakNear(double lag) const {
    const auto j = static_cast<std::size_t>(std::lround(lag));
    return std::max({at(j - 1), at(j), at(j + 1)});
}

}  // namespace kelvara
