// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/band_filters.h"

#include "i18n/l.h"
#include "models/waveform_error.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace kelvara {

namespace {

// The lanes of one channel's chains (low, mid, high, input) fill one SSE register on baseline
// x86-64 and one NEON register elsewhere; two channels fill one AVX register.
using Float4 = float __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));
constexpr std::size_t lanesPerChannel = 4;

constexpr double twoPi = 6.283185307179586;

// The four lanes of each channel, side by side in one vector, and back.
// (Vectors go by reference: an AVX vector passed by value would change the calling convention.)
template <typename Vector, typename Source, std::size_t channels>
void gather(Vector& value, const std::array<Source*, channels>& sources) {
    for (std::size_t c = 0; c < channels; ++c) {
        std::memcpy(reinterpret_cast<float*>(&value) + c * lanesPerChannel, sources[c], lanesPerChannel * sizeof(float));
    }
}

template <typename Vector, typename Target, std::size_t channels>
void scatter(const Vector& value, const std::array<Target*, channels>& targets) {
    for (std::size_t c = 0; c < channels; ++c) {
        std::memcpy(static_cast<void*>(targets[c]), reinterpret_cast<const float*>(&value) + c * lanesPerChannel,
                    lanesPerChannel * sizeof(float));
    }
}

// A usable sample in all four lanes; NaN, infinity and overflowing magnitudes enter as 0.
[[gnu::always_inline]] inline Float4 broadcast(float x) {
    const float usable = std::fabs(x) <= BandFilters::largestUsableSample ? x : 0.0f;  // NaN fails too
    return Float4{usable, usable, usable, usable};
}

template <std::size_t channels>
struct Channels {
    const float* coefficients;                  // [section][b0 b1 b2 a1 a2][lane], shared
    std::array<float*, channels> memory;        // [section][s1 s2][lane] of each channel
    std::array<const float*, channels> samples;
    std::array<BandSample*, channels> out;

    std::array<float*, channels> memoryOf(std::size_t section, std::size_t word) const {
        std::array<float*, channels> lanes;
        for (std::size_t c = 0; c < channels; ++c) {
            lanes[c] = memory[c] + (section * 2 + word) * lanesPerChannel;
        }
        return lanes;
    }

    std::array<const float*, channels> coefficientOf(std::size_t section, std::size_t which) const {
        std::array<const float*, channels> lanes;
        lanes.fill(coefficients + (section * 5 + which) * lanesPerChannel);
        return lanes;
    }
};

// Runs the chains of one or two channels, which share their coefficients, through one loop.
// Each lane does exactly the scalar arithmetic of its own chain.
template <typename Vector, std::size_t channels>
[[gnu::always_inline]] inline void runChains(const Channels<channels>& io, std::size_t frames) {
    constexpr std::size_t sections = BandFilters::chainLength;
    Vector b0[sections], b1[sections], b2[sections], a1[sections], a2[sections], s1[sections], s2[sections];
    for (std::size_t k = 0; k < sections; ++k) {
        gather(b0[k], io.coefficientOf(k, 0));
        gather(b1[k], io.coefficientOf(k, 1));
        gather(b2[k], io.coefficientOf(k, 2));
        gather(a1[k], io.coefficientOf(k, 3));
        gather(a2[k], io.coefficientOf(k, 4));
        gather(s1[k], io.memoryOf(k, 0));
        gather(s2[k], io.memoryOf(k, 1));
    }
    const auto samples = io.samples;  // local, so the stores below cannot change them
    const auto out = io.out;
    for (std::size_t j = 0; j < frames; ++j) {
        const Float4 first = broadcast(samples[0][j]);
        Vector v;
        if constexpr (channels == 1) {
            v = first;
        } else {
            v = __builtin_shufflevector(first, broadcast(samples[1][j]), 0, 1, 2, 3, 4, 5, 6, 7);
        }
        // Unrolled so that the filter memory stays in registers.
#pragma GCC unroll 4
        for (std::size_t k = 0; k < sections; ++k) {
            const Vector y = b0[k] * v + s1[k];
            s1[k] = b1[k] * v + s2[k] - a1[k] * y;
            s2[k] = b2[k] * v - a2[k] * y;
            v = y;
        }
        std::array<BandSample*, channels> frame;
        for (std::size_t c = 0; c < channels; ++c) {
            frame[c] = out[c] + j;
        }
        scatter(v, frame);
    }
    for (std::size_t k = 0; k < sections; ++k) {
        scatter(s1[k], io.memoryOf(k, 0));
        scatter(s2[k], io.memoryOf(k, 1));
    }
}

// Two channels in one AVX register cost what one costs in an SSE register. No FMA: the
// results are the same bits as on the baseline path.
[[gnu::target("avx")]] void runPairWithAvx(const Channels<2>& io, std::size_t frames) {
    runChains<Float8, 2>(io, frames);
}

bool hasAvx() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool available = __builtin_cpu_supports("avx");
    return available;
#else
    return false;
#endif
}

// Filter memory decaying through silence reaches subnormal floats, which cost x86 some
// hundred cycles each and can ring there for good; they are flushed to zero while filtering.
class SubnormalsFlushed {
public:
#if defined(__SSE__)
    SubnormalsFlushed() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | flushToZero | denormalsAreZero); }
    ~SubnormalsFlushed() { _mm_setcsr(saved_); }

private:
    static constexpr unsigned flushToZero = 0x8000;
    static constexpr unsigned denormalsAreZero = 0x0040;
    unsigned saved_;
#endif
};

struct Trigonometry {
    double c, s;
};

Trigonometry cornerTrigonometry(double corner, double sampleRate) {
    const double omega = twoPi * corner / sampleRate;
    return {std::cos(omega), std::sin(omega)};
}

bool usable(const BandFilters::Section& section) {
    return std::isfinite(section.b0) && std::isfinite(section.b1) && std::isfinite(section.b2) &&
           std::isfinite(section.a1) && std::isfinite(section.a2);
}

}  // namespace

BandFilters::Section BandFilters::Section::lowPass(double corner, double sampleRate, double twoQ) {
    const auto [c, s] = cornerTrigonometry(corner, sampleRate);
    const double alpha = s / twoQ;
    const double a0 = 1 + alpha;
    return {(1 - c) / 2 / a0, (1 - c) / a0, (1 - c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
}

BandFilters::Section BandFilters::Section::highPass(double corner, double sampleRate, double twoQ) {
    const auto [c, s] = cornerTrigonometry(corner, sampleRate);
    const double alpha = s / twoQ;
    const double a0 = 1 + alpha;
    return {(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
}

BandFilters::BandFilters(double sampleRate) {
    const double cap = 0.45 * sampleRate;
    const double lowCorner = std::min(cap, 250.0);
    const double highCorner = std::min(cap, 2500.0);
    const Section passThrough;
    chains_[0] = {Section::lowPass(lowCorner, sampleRate, firstTwoQ),
                  Section::lowPass(lowCorner, sampleRate, secondTwoQ), passThrough, passThrough};
    chains_[1] = {Section::highPass(lowCorner, sampleRate, firstTwoQ),
                  Section::highPass(lowCorner, sampleRate, secondTwoQ),
                  Section::lowPass(highCorner, sampleRate, firstTwoQ),
                  Section::lowPass(highCorner, sampleRate, secondTwoQ)};
    chains_[2] = {Section::highPass(highCorner, sampleRate, firstTwoQ),
                  Section::highPass(highCorner, sampleRate, secondTwoQ), passThrough, passThrough};
    chains_[3] = {passThrough, passThrough, passThrough, passThrough};

    const bool allUsable = sampleRate > 0 && std::all_of(chains_.begin(), chains_.end(), [](const Chain& chain) {
        return std::all_of(chain.begin(), chain.end(), usable);
    });
    if (!allUsable) {
        throw WaveformError::unavailable(L("Не удалось создать фильтры частотного анализа"));
    }
    for (int k = 0; k < chainLength; ++k) {
        for (int lane = 0; lane < lanes; ++lane) {
            const Section& section = chains_[static_cast<std::size_t>(lane)][static_cast<std::size_t>(k)];
            const double values[5] = {section.b0, section.b1, section.b2, section.a1, section.a2};
            for (int i = 0; i < 5; ++i) {
                coefficients_[k][i][lane] = static_cast<float>(values[i]);
            }
        }
    }
}

void BandFilters::process(std::span<const float> samples, std::span<BandSample> out) {
    const SubnormalsFlushed flushed;
    runChains<Float4, 1>({&coefficients_[0][0][0], {&state_[0][0][0]}, {samples.data()}, {out.data()}},
                         samples.size());
}

void BandFilters::processPair(BandFilters& first, std::span<const float> firstSamples, std::span<BandSample> firstOut,
                              BandFilters& second, std::span<const float> secondSamples,
                              std::span<BandSample> secondOut) {
    if (!hasAvx()) {
        first.process(firstSamples, firstOut);
        second.process(secondSamples, secondOut);
        return;
    }
    const SubnormalsFlushed flushed;
    runPairWithAvx({&first.coefficients_[0][0][0],
                    {&first.state_[0][0][0], &second.state_[0][0][0]},
                    {firstSamples.data(), secondSamples.data()},
                    {firstOut.data(), secondOut.data()}},
                   firstSamples.size());
}

}  // namespace kelvara
