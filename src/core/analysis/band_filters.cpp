// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/band_filters.h"

#include "analysis/avx_support.h"
#include "analysis/vector_types.h"
#include "i18n/l.h"
#include "models/waveform_error.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace kelvara {

namespace {

// The lanes of one channel (low, mid's first half, high, mid's second half) fill one SSE
// register on baseline x86-64 and one NEON register elsewhere; two channels fill one AVX one.
constexpr std::size_t lanesPerChannel = 4;
constexpr std::size_t lateMidLane = 3;
// Each lane runs two sections per step (see the class comment).
constexpr std::size_t stepsPerSample = 2;
constexpr std::size_t midLag = 4;  // samples; a power of two keeps j % midLag cheap

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
    const float* coefficients;                  // [step][b0 b1 b2 a1 a2][lane], shared
    std::array<float*, channels> memory;        // [step][s1 s2][lane] of each channel
    std::array<const float*, channels> samples;
    std::array<BandSample*, channels> out;

    std::array<float*, channels> memoryOf(std::size_t step, std::size_t word) const {
        std::array<float*, channels> lanes;
        for (std::size_t c = 0; c < channels; ++c) {
            lanes[c] = memory[c] + (step * 2 + word) * lanesPerChannel;
        }
        return lanes;
    }

    std::array<const float*, channels> coefficientOf(std::size_t step, std::size_t which) const {
        std::array<const float*, channels> lanes;
        lanes.fill(coefficients + (step * 5 + which) * lanesPerChannel);
        return lanes;
    }
};


// The two steps of every lane with their memory, loaded once per block.
template <typename Vector>
struct Steps {
    using Mask = LanesOf<Vector>;

    Vector b0[stepsPerSample], b1[stepsPerSample], b2[stepsPerSample], a1[stepsPerSample], a2[stepsPerSample];
    Vector s1[stepsPerSample], s2[stepsPerSample];

    // Transposed direct form II, section after section.
    [[gnu::always_inline]] void run(Vector& v) {
#pragma GCC unroll 2
        for (std::size_t k = 0; k < stepsPerSample; ++k) {
            const Vector y = b0[k] * v + s1[k];
            s1[k] = b1[k] * v + s2[k] - a1[k] * y;
            s2[k] = b2[k] * v - a2[k] * y;
            v = y;
        }
    }

    // run() for the lanes in `active` only; the others keep their memory.
    [[gnu::always_inline]] void runLanes(Vector& v, const Mask& active) {
        Vector kept1[stepsPerSample], kept2[stepsPerSample];
        for (std::size_t k = 0; k < stepsPerSample; ++k) {
            kept1[k] = s1[k];
            kept2[k] = s2[k];
        }
        run(v);
        for (std::size_t k = 0; k < stepsPerSample; ++k) {
            s1[k] = active ? s1[k] : kept1[k];
            s2[k] = active ? s2[k] : kept2[k];
        }
    }
};

// Selects the fourth lanes of every channel (`lateMid`) or the other three.
template <typename Mask, std::size_t channels>
void selectLanes(Mask& mask, bool lateMid) {
    for (std::size_t lane = 0; lane < channels * lanesPerChannel; ++lane) {
        mask[lane] = ((lane % lanesPerChannel == lateMidLane) == lateMid) ? -1 : 0;
    }
}

// Each channel's sample in its first three lanes, and in the fourth what mid's first half
// gave for an earlier sample. (Vectors go out through references, as above.)
template <typename Vector, std::size_t channels>
[[gnu::always_inline]] inline void makeInput(Vector& input, const Vector& samples, const Vector& previous) {
    if constexpr (channels == 1) {
        input = __builtin_shufflevector(samples, previous, 0, 1, 2, 5);
    } else {
        input = __builtin_shufflevector(samples, previous, 0, 1, 2, 9, 4, 5, 6, 13);
    }
}

template <typename Vector, std::size_t channels>
[[gnu::always_inline]] inline void loadSamples(Vector& x, const std::array<const float*, channels>& samples,
                                               std::size_t j) {
    if constexpr (channels == 1) {
        x = broadcast(samples[0][j]);
    } else {
        x = __builtin_shufflevector(broadcast(samples[0][j]), broadcast(samples[1][j]), 0, 1, 2, 3, 4, 5, 6, 7);
    }
}

// Writes frame j whole, its cleaned sample in the `signal` lane and a placeholder in `mid`,
// then mid of frame `midFrame`, which the fourth lanes have just finished: one vector store
// per channel costs less than four scalar ones. Every frame's placeholder is overwritten once
// its mid is done, here or after the loop.
template <typename Vector, std::size_t channels>
[[gnu::always_inline]] inline void store(const std::array<BandSample*, channels>& out, const Vector& y,
                                         const Vector& x, std::size_t j, std::optional<std::size_t> midFrame) {
    Vector frame;
    if constexpr (channels == 1) {
        frame = __builtin_shufflevector(y, x, 0, 1, 2, 7);
    } else {
        frame = __builtin_shufflevector(y, x, 0, 1, 2, 11, 4, 5, 6, 15);
    }
    std::array<BandSample*, channels> frameOut;
    for (std::size_t c = 0; c < channels; ++c) {
        frameOut[c] = out[c] + j;
    }
    scatter(frame, frameOut);
    if (midFrame) {
        for (std::size_t c = 0; c < channels; ++c) {
            out[c][*midFrame].mid = y[c * lanesPerChannel + lateMidLane];
        }
    }
}

// Runs the chains of one or two channels, which share their coefficients, through one loop.
template <typename Vector, std::size_t channels>
[[gnu::always_inline]] inline void runChains(const Channels<channels>& io, std::size_t frames) {
    using Mask = LanesOf<Vector>;
    Steps<Vector> chain;
    for (std::size_t k = 0; k < stepsPerSample; ++k) {
        gather(chain.b0[k], io.coefficientOf(k, 0));
        gather(chain.b1[k], io.coefficientOf(k, 1));
        gather(chain.b2[k], io.coefficientOf(k, 2));
        gather(chain.a1[k], io.coefficientOf(k, 3));
        gather(chain.a2[k], io.coefficientOf(k, 4));
        gather(chain.s1[k], io.memoryOf(k, 0));
        gather(chain.s2[k], io.memoryOf(k, 1));
    }
    const auto samples = io.samples;  // local, so the stores below cannot change them
    const auto out = io.out;

    Mask firstThree, fourth;
    selectLanes<Mask, channels>(firstThree, false);
    selectLanes<Mask, channels>(fourth, true);

    // The fourth lanes take mid's first half from a few samples back: with a lag of one,
    // every step would wait for the whole previous one; with more, consecutive steps overlap.
    Vector pending[midLag] = {};
    Vector x, y;
    for (std::size_t j = 0; j < frames; ++j) {
        loadSamples<Vector, channels>(x, samples, j);
        makeInput<Vector, channels>(y, x, pending[j % midLag]);
        if (j < midLag) {
            chain.runLanes(y, firstThree);  // nothing has reached mid's second half yet
            store<Vector, channels>(out, y, x, j, std::nullopt);
        } else {
            chain.run(y);
            store<Vector, channels>(out, y, x, j, j - midLag);
        }
        pending[j % midLag] = y;
    }
    // The mids of the last samples: only the fourth lanes move.
    for (std::size_t j = frames < midLag ? 0 : frames - midLag; j < frames; ++j) {
        makeInput<Vector, channels>(y, Vector{}, pending[j % midLag]);
        chain.runLanes(y, fourth);
        for (std::size_t c = 0; c < channels; ++c) {
            out[c][j].mid = y[c * lanesPerChannel + lateMidLane];
        }
    }

    for (std::size_t k = 0; k < stepsPerSample; ++k) {
        scatter(chain.s1[k], io.memoryOf(k, 0));
        scatter(chain.s2[k], io.memoryOf(k, 1));
    }
}

// Two channels in one AVX register cost what one costs in an SSE register. No FMA: the
// results are the same bits as on the baseline path.
[[gnu::target("avx")]] void runPairWithAvx(const Channels<2>& io, std::size_t frames) {
    runChains<Float8, 2>(io, frames);
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
    low_ = {Section::lowPass(lowCorner, sampleRate, firstTwoQ), Section::lowPass(lowCorner, sampleRate, secondTwoQ)};
    mid_ = {Section::highPass(lowCorner, sampleRate, firstTwoQ), Section::highPass(lowCorner, sampleRate, secondTwoQ),
            Section::lowPass(highCorner, sampleRate, firstTwoQ), Section::lowPass(highCorner, sampleRate, secondTwoQ)};
    high_ = {Section::highPass(highCorner, sampleRate, firstTwoQ), Section::highPass(highCorner, sampleRate, secondTwoQ)};

    const auto allUsable = [](std::span<const Section> chain) { return std::all_of(chain.begin(), chain.end(), usable); };
    if (!(sampleRate > 0) || !allUsable(low_) || !allUsable(mid_) || !allUsable(high_)) {
        throw WaveformError::unavailable(L("Не удалось создать фильтры частотного анализа"));
    }
    for (std::size_t k = 0; k < steps; ++k) {
        const std::array<const Section*, lanes> laneSections = {&low_[k], &mid_[k], &high_[k], &mid_[steps + k]};
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            const Section& section = *laneSections[lane];
            const double values[5] = {section.b0, section.b1, section.b2, section.a1, section.a2};
            for (std::size_t i = 0; i < 5; ++i) {
                coefficients_[k][i][lane] = static_cast<float>(values[i]);
            }
        }
    }
}

BandFilters::Memory BandFilters::memory() const {
    static_assert(sizeof(Memory) == sizeof state_);
    Memory bits;
    std::memcpy(bits.data(), &state_[0][0][0], sizeof bits);
    return bits;
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
