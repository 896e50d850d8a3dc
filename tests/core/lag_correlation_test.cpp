// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/lag_correlation.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvara {
namespace {

// Clicks every seven samples, the first at sample 3.
std::vector<double> clicksEverySeven() {
    std::vector<double> series(200, 0.0);
    for (std::size_t i = 3; i < series.size(); i += 7) {
        series[i] = 1;
    }
    return series;
}

TEST(LagCorrelationTest, IsOneAtTheRepeatAndZeroBetween) {
    const std::vector<double> series = clicksEverySeven();
    const LagCorrelation correlation(series);
    EXPECT_DOUBLE_EQ(correlation.at(7), 1.0);
    EXPECT_DOUBLE_EQ(correlation.at(14), 1.0);
    EXPECT_DOUBLE_EQ(correlation.at(4), 0.0);
    // A fractional multiple finds the peak on a neighbouring lag, and only there.
    EXPECT_DOUBLE_EQ(correlation.peakNear(6.4), 1.0);
    EXPECT_DOUBLE_EQ(correlation.peakNear(10.5), 0.0);
}

TEST(LagCorrelationTest, SilenceCorrelatesToZeroNotToNaN) {
    const std::vector<double> silence(100, 0.0);
    EXPECT_EQ(LagCorrelation(silence).at(5), 0.0);
}

}  // namespace
}  // namespace kelvara
