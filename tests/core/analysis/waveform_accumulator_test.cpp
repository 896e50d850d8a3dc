// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_accumulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using kelvara::AudioBlock;
using kelvara::BandFilters;
using kelvara::BandSample;
using kelvara::Waveform;
using kelvara::WaveformAccumulator;

namespace {

constexpr int sampleRate = 44'100;

// What each point must hold: its samples of every channel added one after the other, block
// by block and channel by channel, as the plainest loop would add them, after each channel's
// own band filters.
class PlainTotals {
public:
    PlainTotals(const WaveformAccumulator& accumulator, int channels)
        : accumulator_(accumulator),
          filters_(static_cast<std::size_t>(channels), BandFilters(sampleRate)),
          sums_(static_cast<std::size_t>(accumulator.points())),
          peaks_(sums_.size()),
          counts_(sums_.size()) {}

    void add(const AudioBlock& block, std::int64_t frames) {
        for (int c = 0; c < block.channels(); ++c) {
            std::vector<BandSample> filtered(static_cast<std::size_t>(block.frames()));
            filters_[static_cast<std::size_t>(c)].process(block.channel(c), filtered);
            for (std::int64_t j = 0; j < frames; ++j) {
                const BandSample& sample = filtered[static_cast<std::size_t>(j)];
                const auto p = static_cast<std::size_t>(accumulator_.pointOf(block.firstFrame() + j));
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
    std::vector<BandFilters> filters_;
    std::vector<std::array<double, 4>> sums_;
    std::vector<float> peaks_;
    std::vector<std::int64_t> counts_;
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Samples as a damaged file may hold them: mostly sound within ±0.9, now and then one beyond
// ±1 (the peak's cap), and NaN, infinity or a huge value, which count as silence.
AudioBlock randomBlock(std::int64_t firstFrame, std::int64_t frames, int channels, std::mt19937& generator) {
    std::uniform_real_distribution<float> value(-0.9f, 0.9f);
    std::uniform_int_distribution<int> damage(0, 199);
    const std::array<float, 5> damaged = {std::numeric_limits<float>::quiet_NaN(),
                                          -std::numeric_limits<float>::infinity(), 1.5e30f, -2.0e38f, 1.5f};
    AudioBlock block(channels, frames);
    block.restart(firstFrame);
    for (int c = 0; c < channels; ++c) {
        for (float& sample : block.freeSpace(c)) {
            const int roll = damage(generator);
            sample = roll < 5 ? damaged[static_cast<std::size_t>(roll)] : value(generator);
        }
    }
    block.grow(frames);
    return block;
}

// Points are summed four runs at a time and, where the processor has AVX, four lanes per
// register, and their peaks are taken from the samples as read; each point must still come
// out to the bit as the plain loop adds it, however the blocks cut the points: blocks shorter
// than a point, a number of runs that is not a multiple of four, a point split between blocks,
// the last point, one channel or three, and a last block of which only a part counts.
TEST(WaveformAccumulatorTest, EveryPointIsThePlainSumOfItsSamples) {
    struct Case {
        std::int64_t frames;
        int channels;
        std::vector<std::int64_t> blockLengths;  // repeated to the end
        std::int64_t counted;                    // frames added; the rest only pass the filters
    };
    const std::vector<Case> cases = {
        {400'003, 2, {16'384}, 400'003},  // about 12.2 frames a point
        {200'001, 3, {777, 1, 29, 16'384}, 200'001},
        {20'000, 1, {5'000, 13, 2}, 20'000},  // fewer frames than the most points: one frame a point
        {30'000, 2, {3}, 30'000},
        {100'000, 2, {16'384}, 90'001},
    };
    std::mt19937 generator(11);
    for (const Case& c : cases) {
        WaveformAccumulator accumulator(c.channels, sampleRate, c.frames);
        PlainTotals expected(accumulator, c.channels);
        std::size_t next = 0;
        for (std::int64_t first = 0; first < c.frames;) {
            const std::int64_t length = std::min(c.blockLengths[next++ % c.blockLengths.size()], c.frames - first);
            const AudioBlock block = randomBlock(first, length, c.channels, generator);
            accumulator.addBlock(block, {}, c.counted);
            expected.add(block, std::clamp<std::int64_t>(c.counted - first, 0, length));
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
