// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/band_filters.h"
#include "models/waveform_error.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

using kelvara::BandFilters;
using kelvara::BandSample;

namespace {

// The plain one-sample-at-a-time form of one chain, in 32-bit float like the filters.
std::vector<float> filterScalar(std::span<const BandFilters::Section> chain, const std::vector<float>& input) {
    std::array<float, 4> s1{}, s2{};
    std::vector<float> output;
    for (float v : input) {
        for (std::size_t k = 0; k < chain.size(); ++k) {
            const auto& c = chain[k];
            const float y = static_cast<float>(c.b0) * v + s1[k];
            s1[k] = static_cast<float>(c.b1) * v + s2[k] - static_cast<float>(c.a1) * y;
            s2[k] = static_cast<float>(c.b2) * v - static_cast<float>(c.a2) * y;
            v = y;
        }
        output.push_back(v);
    }
    return output;
}

std::vector<float> noise(std::size_t count) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> values(count);
    for (float& v : values) {
        v = uniform(generator);
    }
    return values;
}

std::vector<BandSample> filter(BandFilters& filters, const std::vector<float>& input) {
    std::vector<BandSample> out(input.size());
    filters.process(input, out);
    return out;
}

double rms(const std::vector<BandSample>& samples, float BandSample::*band) {
    double sum = 0;
    for (std::size_t i = samples.size() / 2; i < samples.size(); ++i) {  // past the settling
        sum += static_cast<double>(samples[i].*band) * (samples[i].*band);
    }
    return std::sqrt(sum / static_cast<double>(samples.size() / 2));
}

std::vector<float> sine(double hertz, double rate, std::size_t count) {
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = static_cast<float>(std::sin(2 * std::numbers::pi * hertz * static_cast<double>(i) / rate));
    }
    return values;
}

// The side-by-side vector form (mid's second half a sample behind) must give each band
// exactly what its own chain gives alone, across block boundaries of any length.
TEST(BandFiltersTest, EachLaneIsExactlyItsOwnChainAcrossBlocks) {
    BandFilters filters(44'100);
    const std::vector<float> input = noise(5'000);
    std::vector<BandSample> out(input.size());
    const std::span<const float> all(input);
    std::size_t start = 0;
    for (const std::size_t length : {1'234, 1, 0, 2, 3, 4, 3'756}) {
        filters.process(all.subspan(start, length), std::span(out).subspan(start, length));
        start += length;
    }

    const auto low = filterScalar(filters.lowChain(), input);
    const auto mid = filterScalar(filters.midChain(), input);
    const auto high = filterScalar(filters.highChain(), input);
    for (std::size_t i = 0; i < input.size(); ++i) {
        ASSERT_EQ(out[i].low, low[i]) << i;
        ASSERT_EQ(out[i].mid, mid[i]) << i;
        ASSERT_EQ(out[i].high, high[i]) << i;
        ASSERT_EQ(out[i].signal, input[i]) << i;
    }
}

// Two channels filtered together (one AVX register where there is AVX) give the same bits as
// each alone, and each keeps its own memory.
TEST(BandFiltersTest, PairsMatchSingleChannels) {
    const std::vector<float> left = noise(3'000);
    std::vector<float> right(left.rbegin(), left.rend());
    BandFilters leftAlone(96'000), rightAlone(96'000), leftPaired(96'000), rightPaired(96'000);
    std::vector<BandSample> a(3'000), b(3'000);
    for (const std::size_t start : {0, 1'000}) {
        const std::span<const float> l = std::span(left).subspan(start, 1'000 + start);
        const std::span<const float> r = std::span(right).subspan(start, 1'000 + start);
        const std::span<BandSample> outLeft = std::span(a).subspan(start, l.size());
        const std::span<BandSample> outRight = std::span(b).subspan(start, r.size());
        BandFilters::processPair(leftPaired, l, outLeft, rightPaired, r, outRight);
        std::vector<BandSample> expectedLeft(l.size()), expectedRight(r.size());
        leftAlone.process(l, expectedLeft);
        rightAlone.process(r, expectedRight);
        for (std::size_t i = 0; i < l.size(); ++i) {
            ASSERT_EQ(std::memcmp(&outLeft[i], &expectedLeft[i], sizeof(BandSample)), 0) << start + i;
            ASSERT_EQ(std::memcmp(&outRight[i], &expectedRight[i], sizeof(BandSample)), 0) << start + i;
        }
    }
}

TEST(BandFiltersTest, SplitsTheSpectrumIntoThreeBands) {
    const double rate = 44'100;
    const auto bandLevels = [&](double hertz) {
        BandFilters filters(rate);
        const auto out = filter(filters, sine(hertz, rate, 16'384));
        return std::array{rms(out, &BandSample::low), rms(out, &BandSample::mid), rms(out, &BandSample::high)};
    };
    const auto bass = bandLevels(60);
    const auto voice = bandLevels(800);
    const auto cymbal = bandLevels(9'000);
    const double fullScaleSine = std::sqrt(0.5);
    EXPECT_GT(bass[0], 0.95 * fullScaleSine);
    EXPECT_LT(bass[1], 0.1 * fullScaleSine);
    EXPECT_GT(voice[1], 0.8 * fullScaleSine);
    EXPECT_LT(voice[0] + voice[2], 0.2 * fullScaleSine);
    EXPECT_GT(cymbal[2], 0.95 * fullScaleSine);
    EXPECT_LT(cymbal[0] + cymbal[1], 0.05 * fullScaleSine);
}

TEST(BandFiltersTest, CornersStayBelowTheNyquistCap) {
    using Section = BandFilters::Section;
    const auto expectSection = [](const Section& actual, const Section& expected) {
        EXPECT_DOUBLE_EQ(actual.b0, expected.b0);
        EXPECT_DOUBLE_EQ(actual.a1, expected.a1);
        EXPECT_DOUBLE_EQ(actual.a2, expected.a2);
    };
    // 22,050 Hz: cap 9,922.5 Hz, nothing moves.
    const BandFilters normal(22'050);
    expectSection(normal.highChain()[0], Section::highPass(2'500, 22'050, BandFilters::firstTwoQ));
    EXPECT_EQ(normal.lowChain().size(), 2u);
    EXPECT_EQ(normal.midChain().size(), 4u);
    EXPECT_EQ(normal.highChain().size(), 2u);
    // 4,000 Hz: cap 1,800 Hz takes the place of 2,500 Hz.
    const BandFilters narrow(4'000);
    expectSection(narrow.midChain()[0], Section::highPass(250, 4'000, BandFilters::firstTwoQ));
    expectSection(narrow.midChain()[3], Section::lowPass(1'800, 4'000, BandFilters::secondTwoQ));
    expectSection(narrow.highChain()[1], Section::highPass(1'800, 4'000, BandFilters::secondTwoQ));
}

// NaN and infinity, and finite samples so large that the float filter memory would overflow
// into infinity and NaN, all enter as silence.
TEST(BandFiltersTest, UnusableSamplesEnterAsSilence) {
    std::vector<float> damaged = noise(2'000);
    std::vector<float> silenced = damaged;
    const float unusable[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), 1e38f, -3e38f};
    for (std::size_t i = 0; i < std::size(unusable); ++i) {
        damaged[100 + 300 * i] = unusable[i];
        silenced[100 + 300 * i] = 0.0f;
    }
    BandFilters a(48'000), b(48'000);
    const auto fromDamaged = filter(a, damaged);
    const auto fromSilenced = filter(b, silenced);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        ASSERT_EQ(fromDamaged[i].low, fromSilenced[i].low) << i;
        ASSERT_EQ(fromDamaged[i].mid, fromSilenced[i].mid) << i;
        ASSERT_EQ(fromDamaged[i].high, fromSilenced[i].high) << i;
        ASSERT_EQ(fromDamaged[i].signal, fromSilenced[i].signal) << i;
    }
}

TEST(BandFiltersTest, RefusesSampleRatesWithoutUsableCoefficients) {
    EXPECT_THROW(BandFilters{0}, kelvara::WaveformError);
    EXPECT_THROW(BandFilters{std::numeric_limits<double>::quiet_NaN()}, kelvara::WaveformError);
}

}  // namespace
