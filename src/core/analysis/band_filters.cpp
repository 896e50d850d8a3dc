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

// Four float lanes; the compiler maps it onto one SSE register on baseline x86-64 (and onto
// NEON elsewhere) without any instruction-set-specific code here.
using Float4 = float __attribute__((vector_size(16)));

constexpr double twoPi = 6.283185307179586;

Float4 loadLanes(const float* lanes) {
    Float4 value;
    std::memcpy(&value, lanes, sizeof value);
    return value;
}

void storeLanes(float* lanes, Float4 value) { std::memcpy(lanes, &value, sizeof value); }

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
    Float4 b0[chainLength], b1[chainLength], b2[chainLength], a1[chainLength], a2[chainLength];
    Float4 s1[chainLength], s2[chainLength];
    for (int k = 0; k < chainLength; ++k) {
        b0[k] = loadLanes(coefficients_[k][0]);
        b1[k] = loadLanes(coefficients_[k][1]);
        b2[k] = loadLanes(coefficients_[k][2]);
        a1[k] = loadLanes(coefficients_[k][3]);
        a2[k] = loadLanes(coefficients_[k][4]);
        s1[k] = loadLanes(state_[k][0]);
        s2[k] = loadLanes(state_[k][1]);
    }
    const std::size_t frames = samples.size();
    for (std::size_t j = 0; j < frames; ++j) {
        float x = samples[j];
        if (!(std::fabs(x) <= largestUsableSample)) {
            x = 0.0f;  // NaN fails the comparison too
        }
        Float4 v = {x, x, x, x};
        // Unrolled so that the filter memory stays in registers.
#pragma GCC unroll 4
        for (int k = 0; k < chainLength; ++k) {
            const Float4 y = b0[k] * v + s1[k];
            s1[k] = b1[k] * v + s2[k] - a1[k] * y;
            s2[k] = b2[k] * v - a2[k] * y;
            v = y;
        }
        std::memcpy(static_cast<void*>(&out[j]), &v, sizeof v);
    }
    for (int k = 0; k < chainLength; ++k) {
        storeLanes(state_[k][0], s1[k]);
        storeLanes(state_[k][1], s2[k]);
    }
}

}  // namespace kelvara
