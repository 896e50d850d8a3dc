// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_accumulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using kelvara::BandSample;
using kelvara::FilteredBlock;
using kelvara::Waveform;
using kelvara::WaveformAccumulator;

namespace {

// What each point must hold: its samples of every channel added one after the other, block
// by block and channel by channel, as the plainest loop would add them.
class PlainTotals {
public:
    explicit PlainTotals(const WaveformAccumulator& accumulator)
        : accumulator_(accumulator),
          sums_(static_cast<std::size_t>(accumulator.points())),
          peaks_(sums_.size()),
          counts_(sums_.size()) {}

    void add(const FilteredBlock& block) {
        for (const auto& channel : block.channels) {
            for (std::int64_t j = 0; j < block.frames; ++j) {
                const BandSample& sample = channel[static_cast<std::size_t>(j)];
                const auto p = static_cast<std::size_t>(accumulator_.pointOf(block.firstFrame + j));
                const std::array<float, 4> lanes = {sample.low, sample.mid, sample.high, sample.signal};
                for (std::size_t lane = 0; lane < 4; ++lane) {
                    sums_[p][lane] += static_cast<double>(lanes[lane]) * static_cast<double>(lanes[lane]);
                }
                peaks_[p] = std::max(peaks_[p], std::min(std::fabs(sample.signal), 1.0f));
                ++counts_[p];
            }
        }
    }

    std::vector<float> peaks() const { return peaks_; }

    std::vector<float> level(std::size_t lane) const {
        std::vector<float> values(sums_.size());
        for (std::size_t p = 0; p < values.size(); ++p) {
            const double mean = sums_[p][lane] / static_cast<double>(std::max<std::int64_t>(counts_[p], 1));
            values[p] = static_cast<float>(std::min(std::sqrt(mean), 1.0));
        }
        return values;
    }

private:
    const WaveformAccumulator& accumulator_;
    std::vector<std::array<double, 4>> sums_;
    std::vector<float> peaks_;
    std::vector<std::int64_t> counts_;
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

FilteredBlock randomBlock(std::int64_t firstFrame, std::int64_t frames, int channels, std::mt19937& generator) {
    // Signals beyond ±1 check the peak's cap; the bands carry whatever the filters gave.
    std::uniform_real_distribution<float> value(-1.5f, 1.5f);
    FilteredBlock block{firstFrame, frames, {}};
    for (int c = 0; c < channels; ++c) {
        std::vector<BandSample> samples(static_cast<std::size_t>(frames));
        for (BandSample& sample : samples) {
            sample = {value(generator), value(generator), value(generator), value(generator)};
        }
        block.channels.push_back(std::move(samples));
    }
    return block;
}

// Points are summed two runs at a time and, where the processor has AVX, four lanes per
// register; each point must still come out to the bit as the plain loop adds it, however the
// blocks cut the points: blocks shorter than a point, an odd number of runs, a point split
// between blocks, the last point, one channel or three.
TEST(WaveformAccumulatorTest, EveryPointIsThePlainSumOfItsSamples) {
    struct Case {
        std::int64_t frames;
        int channels;
        std::vector<std::int64_t> blockLengths;  // repeated to the end
    };
    const std::vector<Case> cases = {
        {400'003, 2, {16'384}},  // about 12.2 frames a point
        {200'001, 3, {777, 1, 29, 16'384}},
        {20'000, 1, {5'000, 13, 2}},  // fewer frames than the most points: one frame a point
        {30'000, 2, {3}},
    };
    std::mt19937 generator(11);
    for (const Case& c : cases) {
        WaveformAccumulator accumulator(c.channels, 44'100, c.frames);
        PlainTotals expected(accumulator);
        std::size_t next = 0;
        for (std::int64_t first = 0; first < c.frames;) {
            const std::int64_t length = std::min(c.blockLengths[next++ % c.blockLengths.size()], c.frames - first);
            const FilteredBlock block = randomBlock(first, length, c.channels, generator);
            accumulator.add(block, {});
            expected.add(block);
            first += length;
        }
        const Waveform record = accumulator.finish(1.0);
        SCOPED_TRACE(c.frames);
        EXPECT_TRUE(sameBits(record.peaks, expected.peaks()));
        EXPECT_TRUE(sameBits(record.low, expected.level(0)));
        EXPECT_TRUE(sameBits(record.mid, expected.level(1)));
        EXPECT_TRUE(sameBits(record.high, expected.level(2)));
        EXPECT_TRUE(sameBits(record.rms, expected.level(3)));
    }
}

}  // namespace
