// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/waveform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kelvara::BeatGrid;
using kelvara::Waveform;

namespace {

Waveform ramp(std::size_t points) {
    std::vector<float> values(points);
    for (std::size_t i = 0; i < points; ++i) {
        values[i] = static_cast<float>(i % 100) / 100.0f;
    }
    return Waveform::make(120, values, values, values, values, values);
}

}  // namespace

TEST(WaveformTest, MakeFillsMissingSeries) {
    const Waveform waveform = Waveform::make(10, {0.5f, 0.25f});
    EXPECT_EQ(waveform.rms, (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(waveform.low, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(waveform.high.size(), 2u);
    EXPECT_TRUE(waveform.valid());
}

TEST(WaveformTest, ValidLimitsPointsVersionDurationAndGrid) {
    EXPECT_TRUE(ramp(32'768).valid());
    EXPECT_FALSE(ramp(32'769).valid());
    EXPECT_FALSE(Waveform::make(10, {}).valid());
    Waveform changed = ramp(10);
    changed.version = 2;
    EXPECT_FALSE(changed.valid());
    changed = ramp(10);
    changed.duration = std::nan("");
    EXPECT_FALSE(changed.valid());
    changed = ramp(10);
    changed.mid.pop_back();
    EXPECT_FALSE(changed.valid());
    changed = ramp(10);
    changed.beatGrid = BeatGrid{120, 0.5, 0.8};
    EXPECT_TRUE(changed.valid());
    changed.beatGrid->confidence = 1.01;
    EXPECT_FALSE(changed.valid());
}

TEST(WaveformTest, EverySeriesValueMustBeFiniteWithinUnit) {
    for (const auto series : {&Waveform::peaks, &Waveform::rms, &Waveform::low, &Waveform::mid, &Waveform::high}) {
        // Index 37 lies past the first vectorised block, 47 in the tail after the blocks.
        for (const std::size_t at : {3u, 37u, 47u}) {
            for (const float bad : {1.0000001f, -0.0001f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
                Waveform waveform = ramp(50);
                (waveform.*series)[at] = bad;
                EXPECT_FALSE(waveform.valid()) << bad << " at " << at;
            }
        }
        Waveform negativeZero = ramp(50);
        (negativeZero.*series)[17] = -0.0f;
        EXPECT_TRUE(negativeZero.valid());
    }
}

TEST(WaveformTest, DownsampleTakesBucketMaxima) {
    const Waveform waveform = Waveform::make(5, {0.1f, 0.5f, 0.2f, 0.9f, 0.3f});
    EXPECT_EQ(waveform.downsample(3), (std::vector<float>{0.1f, 0.5f, 0.9f}));
    EXPECT_EQ(waveform.downsample(10).size(), 5u);
    EXPECT_TRUE(waveform.downsample(0).empty());
}

TEST(WaveformTest, DisplayColumnsCountFollowsPointsInRange) {
    EXPECT_EQ(ramp(10'000).displayColumns(800, 0, 1).size(), 800u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0, 1).size(), 500u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0.5, 0.5).size(), 1u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0.1, 0.2).size(), 50u);
    EXPECT_TRUE(ramp(500).displayColumns(0, 0, 1).empty());
    EXPECT_TRUE(ramp(500).displayColumns(10, std::nan(""), 1).empty());
    EXPECT_TRUE(ramp(32'769).displayColumns(10, 0, 1).empty());
}

TEST(WaveformTest, DisplayRangeIsClampedToTheTrack) {
    std::vector<float> peaks(100, 0.1f);
    peaks.front() = 0.7f;
    peaks.back() = 0.9f;
    const Waveform waveform = Waveform::make(10, peaks);
    const auto start = waveform.displayColumns(100, -0.5, 0.02);
    ASSERT_EQ(start.size(), 2u);
    EXPECT_EQ(start.front().peak, 0.7f);
    const auto end = waveform.displayColumns(100, 0.98, 1.7);
    ASSERT_EQ(end.size(), 2u);
    EXPECT_EQ(end.back().peak, 0.9f);
    const auto beyond = waveform.displayColumns(100, 1.5, 2);
    ASSERT_EQ(beyond.size(), 1u);
    EXPECT_EQ(beyond.front().peak, 0.9f);
}

TEST(WaveformTest, ColumnLevelsAreRelativeToThe95thPercentile) {
    // rms 0.2 except the loudest tenth at 0.8, so the reference is 0.8.
    std::vector<float> rms(100, 0.2f);
    std::fill(rms.begin() + 90, rms.end(), 0.8f);
    rms[0] = 0.0f;
    rms[1] = 0.4f;
    const Waveform waveform = Waveform::make(10, std::vector<float>(100, 0.9f), rms, std::vector<float>(100, 0.5f));
    const auto columns = waveform.displayColumns(50, 0, 1);
    ASSERT_EQ(columns.size(), 50u);
    EXPECT_NEAR(columns[0].level, std::pow(std::sqrt(0.08) / 0.8, 1.25), 1e-6);  // RMS of {0, 0.4}
    EXPECT_NEAR(columns[1].level, std::pow(0.25, 1.25), 1e-6);
    EXPECT_NEAR(columns.back().level, 1.0, 1e-6);
    EXPECT_NEAR(columns[0].low, 0.25, 1e-6);  // mean square, no root
    EXPECT_EQ(columns[0].mid, 0.0f);
    EXPECT_EQ(columns[0].peak, 0.9f);

    const Waveform silent = Waveform::make(10, std::vector<float>(100, 0.0f));
    for (const auto& column : silent.displayColumns(20, 0, 1)) {
        EXPECT_EQ(column.level, 0.0f);
    }
}
