// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

namespace kelvara {

// The normalised autocorrelation of a series at the lags asked for: Σ x[j]·x[j−L] over the
// overlap, divided by the root of the energies of the two overlapping parts (1 for a series
// that repeats exactly after L samples).
class LagCorrelation {
public:
    // Keeps a view of `series`, which must outlive this object.
    explicit LagCorrelation(std::span<const double> series);

    // `lag` must be below the series' length.
    double at(std::size_t lag) const;

    // The largest correlation at the lag nearest to `lag` and its two neighbours, so that a
    // multiple of a fractional period still finds its peak. `lag` must round to at least 2.
    double peakNear(double lag) const;

private:
    std::span<const double> series;
    std::vector<double> energy;  // prefix sums of the squares
};

}  // namespace kelvara
