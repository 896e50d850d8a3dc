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
    EXPECT_EQ(waveform.version, 3);
    EXPECT_EQ(waveform.rms, (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(waveform.low, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(waveform.high.size(), 2u);
    EXPECT_FALSE(waveform.beatGrid);
    EXPECT_TRUE(waveform.valid());
}

TEST(WaveformTest, ValidLimitsPointCountVersionAndDuration) {
    EXPECT_TRUE(ramp(32'768).valid());
    EXPECT_FALSE(ramp(32'769).valid());
    EXPECT_FALSE(Waveform::make(10, {}).valid());

    Waveform old = ramp(10);
    old.version = 2;
    EXPECT_FALSE(old.valid());

    for (const double duration : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
        Waveform waveform = ramp(10);
        waveform.duration = duration;
        EXPECT_FALSE(waveform.valid()) << duration;
    }
    Waveform shortBand = ramp(10);
    shortBand.mid.pop_back();
    EXPECT_FALSE(shortBand.valid());
}

TEST(WaveformTest, EverySeriesValueMustBeFiniteWithinUnit) {
    const std::vector<std::vector<float> Waveform::*> series{&Waveform::peaks, &Waveform::rms, &Waveform::low,
                                                            &Waveform::mid, &Waveform::high};
    for (const auto member : series) {
        for (const float bad : {1.0000001f, -0.0001f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
            Waveform waveform = ramp(50);
            (waveform.*member)[17] = bad;
            EXPECT_FALSE(waveform.valid()) << bad;
        }
        Waveform negativeZero = ramp(50);
        (negativeZero.*member)[17] = -0.0f;
        EXPECT_TRUE(negativeZero.valid());
    }
}

TEST(WaveformTest, InvalidGridMakesRecordInvalid) {
    Waveform waveform = ramp(10);
    waveform.beatGrid = BeatGrid{120, 0.5, 0.8};
    EXPECT_TRUE(waveform.valid());
    for (const BeatGrid bad : {BeatGrid{29.9, 0, 1}, BeatGrid{300.1, 0, 1}, BeatGrid{120, -0.1, 1}, BeatGrid{120, 0, 1.01}}) {
        waveform.beatGrid = bad;
        EXPECT_FALSE(waveform.valid()) << bad.bpm << " " << bad.origin << " " << bad.confidence;
    }
}

TEST(WaveformTest, DownsampleTakesBucketMaxima) {
    const Waveform waveform = Waveform::make(5, {0.1f, 0.5f, 0.2f, 0.9f, 0.3f});
    EXPECT_EQ(waveform.downsample(3), (std::vector<float>{0.1f, 0.5f, 0.9f}));
    EXPECT_EQ(waveform.downsample(10).size(), 5u);  // never more columns than points
    EXPECT_TRUE(waveform.downsample(0).empty());
    EXPECT_TRUE(waveform.downsample(-4).empty());
}

TEST(WaveformTest, DisplayColumnsCountFollowsPointsInRange) {
    EXPECT_EQ(ramp(10'000).displayColumns(800, 0, 1).size(), 800u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0, 1).size(), 500u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0.5, 0.5).size(), 1u);
    EXPECT_EQ(ramp(500).displayColumns(800, 0.1, 0.2).size(), 50u);
    EXPECT_TRUE(ramp(500).displayColumns(0, 0, 1).empty());
    EXPECT_TRUE(ramp(500).displayColumns(10, std::nan(""), 1).empty());

    Waveform old = ramp(500);
    old.version = 2;
    EXPECT_TRUE(old.displayColumns(10, 0, 1).empty());
}

TEST(WaveformTest, DisplayRangeIsClampedToTheTrack) {
    std::vector<float> peaks(100, 0.1f);
    peaks.front() = 0.7f;
    peaks.back() = 0.9f;
    const Waveform waveform = Waveform::make(10, peaks);
    const auto start = waveform.displayColumns(100, -0.5, 0.02);
    ASSERT_EQ(start.size(), 2u);
    EXPECT_FLOAT_EQ(start.front().peak, 0.7f);
    const auto end = waveform.displayColumns(100, 0.98, 1.7);
    ASSERT_EQ(end.size(), 2u);
    EXPECT_FLOAT_EQ(end.back().peak, 0.9f);
    const auto beyond = waveform.displayColumns(100, 1.5, 2);
    ASSERT_EQ(beyond.size(), 1u);  // lower bound clamps to the last point
    EXPECT_FLOAT_EQ(beyond.front().peak, 0.9f);
}

TEST(WaveformTest, ColumnLevelsAreRelativeToThe95thPercentile) {
    // rms 0.2 everywhere except the loudest 10 %, at 0.8: the 95th percentile is 0.8.
    std::vector<float> rms(100, 0.2f);
    std::fill(rms.begin() + 90, rms.end(), 0.8f);
    std::vector<float> low(100, 0.5f);
    const Waveform waveform = Waveform::make(10, std::vector<float>(100, 0.9f), rms, low);
    const auto columns = waveform.displayColumns(10, 0, 1);
    ASSERT_EQ(columns.size(), 10u);
    EXPECT_NEAR(columns.front().level, std::pow(0.25, 1.25), 1e-6);
    EXPECT_NEAR(columns.back().level, 1.0, 1e-6);
    EXPECT_NEAR(columns.front().low, 0.25, 1e-6);  // mean square, no root
    EXPECT_FLOAT_EQ(columns.front().mid, 0.0f);
    EXPECT_FLOAT_EQ(columns.front().peak, 0.9f);

    const Waveform silent = Waveform::make(10, std::vector<float>(100, 0.0f));
    for (const auto& column : silent.displayColumns(20, 0, 1)) {
        EXPECT_EQ(column.level, 0.0f);
    }
}

TEST(WaveformTest, ColumnLevelUsesRootMeanSquareOfTheBucket) {
    // Buckets of two points with rms 0.0 and 0.6 against a reference of 0.6.
    const std::vector<float> rms{0.0f, 0.6f, 0.0f, 0.6f};
    const Waveform waveform = Waveform::make(4, rms, rms);
    const auto columns = waveform.displayColumns(2, 0, 1);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_NEAR(columns[0].level, std::pow(std::sqrt(0.18) / 0.6, 1.25), 1e-6);
}
