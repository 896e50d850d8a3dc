// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvara {

// One frame of one channel after the band split: the three filter outputs and the cleaned
// input sample, laid out as one 16-byte vector.
struct alignas(16) BandSample {
    float low = 0;
    float mid = 0;
    float high = 0;
    float signal = 0;
};

// The band split of one channel: `low` (two low-pass sections at 250 Hz), `mid` (two
// high-pass sections at 250 Hz, then two low-pass sections at 2500 Hz) and `high` (two
// high-pass sections at 2500 Hz), fourth-order Butterworth corners kept below 0.45 × fs.
// Each section is a transposed direct form II biquad in 32-bit float whose memory carries
// over from one block to the next, so consecutive blocks filter as one signal.
//
// Eight sections, but two vector steps per sample: the four lanes of one vector run low's two
// sections, mid's first two, high's two and, one sample behind, mid's last two on what mid's
// first two gave for the previous sample. Each chain still does exactly its own scalar
// arithmetic, in the same order. Where the processor has AVX, two channels share one vector.
class BandFilters {
    static constexpr std::size_t lanes = 4;
    static constexpr std::size_t steps = 2;

public:
    // The filter memory as bits: two banks whose memories are equal give the same output,
    // bit for bit, from there on.
    using Memory = std::array<std::uint32_t, steps * 2 * lanes>;
    // Coefficients of one section, normalised by a0: b0, b1, b2, a1, a2.
    struct Section {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

        static Section lowPass(double corner, double sampleRate, double twoQ);
        static Section highPass(double corner, double sampleRate, double twoQ);
    };

    // 2Q of the two sections of a fourth-order Butterworth response.
    static constexpr double firstTwoQ = 1.082392200292394;
    static constexpr double secondTwoQ = 2.613125929752754;
    // Samples beyond this magnitude are damage, not sound, and would overflow the float
    // filter memory to infinity and then NaN: they count as silence like NaN and infinity.
    static constexpr float largestUsableSample = 1.0e30f;

    // Throws WaveformError when the sample rate gives no usable coefficients.
    explicit BandFilters(double sampleRate);

    // The sections of each band, in the order a sample passes them.
    std::span<const Section> lowChain() const { return low_; }
    std::span<const Section> midChain() const { return mid_; }
    std::span<const Section> highChain() const { return high_; }

    // Filters `samples` into `out` (at least as long). A sample that is NaN, infinite or
    // larger than largestUsableSample enters the filters, and `signal`, as 0.
    void process(std::span<const float> samples, std::span<BandSample> out);

    // process() for two channels of the same sample rate and block length at once; where the
    // processor has AVX this costs what one channel costs, with the same results.
    static void processPair(BandFilters& first, std::span<const float> firstSamples, std::span<BandSample> firstOut,
                            BandFilters& second, std::span<const float> secondSamples, std::span<BandSample> secondOut);

    Memory memory() const;

private:
    std::array<Section, 2> low_;
    std::array<Section, 4> mid_;
    std::array<Section, 2> high_;
    // Per step and coefficient (b0, b1, b2, a1, a2) the four lanes' values, and per step the
    // two memory words of each lane.
    alignas(16) float coefficients_[steps][5][lanes] = {};
    alignas(16) float state_[steps][2][lanes] = {};
};

}  // namespace kelvara
