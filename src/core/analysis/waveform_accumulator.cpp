// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_accumulator.h"

#include "analysis/avx_support.h"
#include "analysis/vector_types.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvara {

namespace {

constexpr std::size_t lowLane = 0, midLane = 1, highLane = 2, signalLane = 3;

// How many runs are summed side by side. Each run's additions form one chain, three cycles
// per sample; the processor keeps this many chains moving at once.
constexpr std::size_t sideBySide = 4;

// Runs of different points, summed together, and their sums of squares.
struct RunGroup {
    std::array<std::span<const BandSample>, sideBySide> samples;
    std::array<WaveformAccumulator::Sums, sideBySide> sums;
};

// The running totals of one point while a run is added: the four sums of squares, in the lane
// order of BandSample. They sit in one AVX register (Double4) or in two SSE or NEON ones
// (Double2): the same lane-wise arithmetic either way, so the same bits.
template <typename Vector>
class RunningTotals {
public:
    [[gnu::always_inline]] void load(const WaveformAccumulator::Sums& sums) {
        for (std::size_t part = 0; part < parts; ++part) {
            for (std::size_t lane = 0; lane < width; ++lane) {
                sums_[part][lane] = sums[part * width + lane];
            }
        }
    }

    [[gnu::always_inline]] void add(const BandSample& sample) {
        if constexpr (parts == 1) {
            const Vector wide = {sample.low, sample.mid, sample.high, sample.signal};
            sums_[0] += wide * wide;
        } else {
            const Vector lowMid = {sample.low, sample.mid};
            const Vector highSignal = {sample.high, sample.signal};
            sums_[0] += lowMid * lowMid;
            sums_[1] += highSignal * highSignal;
        }
    }

    [[gnu::always_inline]] void store(WaveformAccumulator::Sums& sums) const {
        for (std::size_t part = 0; part < parts; ++part) {
            for (std::size_t lane = 0; lane < width; ++lane) {
                sums[part * width + lane] = sums_[part][lane];
            }
        }
    }

private:
    static constexpr std::size_t width = sizeof(Vector) / sizeof(double);
    static constexpr std::size_t parts = 4 / width;

    Vector sums_[parts];
};

// Adds each run to its totals, sample after sample in frame order; the runs' chains of
// additions overlap instead of waiting for each other. The totals are copied into locals
// so that they stay in registers.
template <typename Vector>
[[gnu::always_inline]] inline void addSideBySide(RunGroup& group) {
    RunningTotals<Vector> running[sideBySide];
    std::size_t together = group.samples[0].size();
    for (std::size_t k = 0; k < sideBySide; ++k) {
        running[k].load(group.sums[k]);
        together = std::min(together, group.samples[k].size());
    }
    for (std::size_t i = 0; i < together; ++i) {
#pragma GCC unroll 4
        for (std::size_t k = 0; k < sideBySide; ++k) {
            running[k].add(group.samples[k][i]);
        }
    }
    for (std::size_t k = 0; k < sideBySide; ++k) {
        for (std::size_t i = together; i < group.samples[k].size(); ++i) {
            running[k].add(group.samples[k][i]);
        }
        running[k].store(group.sums[k]);
    }
}

[[gnu::target("avx")]] void addSideBySideWithAvx(RunGroup& group) { addSideBySide<Double4>(group); }

void addSideBySidePortably(RunGroup& group) { addSideBySide<Double2>(group); }

// The largest magnitude among samples as read, each cleaned as the filters clean it (NaN,
// infinity and overflowing values count as 0), so it is the largest |signal| of the band
// split, found here at a fraction of the cost: the samples lie side by side. Maxima come out
// the same in any order.
template <typename Vector>
[[gnu::always_inline]] inline float largestOf(std::span<const float> samples) {
    using Lanes = LanesOf<Vector>;
    constexpr std::size_t width = sizeof(Vector) / sizeof(float);
    Lanes magnitudeBits;
    Vector usable, largest{};
    for (std::size_t lane = 0; lane < width; ++lane) {
        magnitudeBits[lane] = 0x7fffffff;
        usable[lane] = BandFilters::largestUsableSample;
    }
    std::size_t i = 0;
    for (; i + width <= samples.size(); i += width) {
        Vector x;
        std::memcpy(&x, samples.data() + i, sizeof x);
        const auto magnitude = reinterpret_cast<Vector>(reinterpret_cast<Lanes>(x) & magnitudeBits);
        const Vector clean = magnitude <= usable ? magnitude : Vector{};  // NaN fails too
        largest = largest > clean ? largest : clean;
    }
    float result = 0;
    for (std::size_t lane = 0; lane < width; ++lane) {
        result = std::max(result, largest[lane]);
    }
    for (; i < samples.size(); ++i) {
        const float magnitude = std::fabs(samples[i]);
        result = std::max(result, magnitude <= BandFilters::largestUsableSample ? magnitude : 0.0f);
    }
    return result;
}

[[gnu::target("avx")]] float largestWithAvx(std::span<const float> samples) { return largestOf<Float8>(samples); }

float largestPortably(std::span<const float> samples) { return largestOf<Float4>(samples); }

}  // namespace

WaveformAccumulator::WaveformAccumulator(int channels, int sampleRate, std::int64_t declaredFrames)
    : length_(declaredFrames),
      points_(std::min<std::int64_t>(declaredFrames, Waveform::maxPoints)),
      peaks_(static_cast<std::size_t>(points_)),
      sums_(static_cast<std::size_t>(points_)),
      counts_(static_cast<std::size_t>(points_)) {
    filters_.reserve(static_cast<std::size_t>(channels));
    for (int c = 0; c < channels; ++c) {
        filters_.emplace_back(static_cast<double>(sampleRate));
    }
}

std::int64_t WaveformAccumulator::pointOf(std::int64_t frame) const {
    const double at = static_cast<double>(frame) / static_cast<double>(length_) * static_cast<double>(points_);
    return std::min(points_ - 1, static_cast<std::int64_t>(at));
}

// pointOf is monotonic, so the boundary is found from the exact integer estimate by a step
// or two in either direction, and always agrees with pointOf itself.
std::int64_t WaveformAccumulator::firstFrameOf(std::int64_t point) const {
    std::int64_t frame = (point * length_ + points_ - 1) / points_;
    while (frame > 0 && pointOf(frame - 1) >= point) {
        --frame;
    }
    while (pointOf(frame) < point) {
        ++frame;
    }
    return frame;
}

void WaveformAccumulator::addBlock(const AudioBlock& block, const CancelCheck& cancelled, std::int64_t endFrame) {
    filter(block);
    const auto frames = static_cast<std::size_t>(std::clamp<std::int64_t>(endFrame - block.firstFrame(), 0, block.frames()));
    for (int c = 0; c < block.channels(); ++c) {
        throwIfCancelled(cancelled);
        addChannel(block.channel(c).first(frames), std::span(filtered_[static_cast<std::size_t>(c)]).first(frames),
                   block.firstFrame());
    }
}

std::vector<BandFilters::Memory> WaveformAccumulator::filterMemory() const {
    std::vector<BandFilters::Memory> memory;
    memory.reserve(filters_.size());
    for (const BandFilters& filters : filters_) {
        memory.push_back(filters.memory());
    }
    return memory;
}

void WaveformAccumulator::takePoints(const WaveformAccumulator& other, std::int64_t firstPoint) {
    const auto first = static_cast<std::ptrdiff_t>(std::clamp<std::int64_t>(firstPoint, 0, points_));
    std::copy(other.peaks_.begin() + first, other.peaks_.end(), peaks_.begin() + first);
    std::copy(other.sums_.begin() + first, other.sums_.end(), sums_.begin() + first);
    std::copy(other.counts_.begin() + first, other.counts_.end(), counts_.begin() + first);
}

// Channels are filtered two at a time where that is cheaper.
void WaveformAccumulator::filter(const AudioBlock& block) {
    const auto frames = static_cast<std::size_t>(block.frames());
    filtered_.resize(static_cast<std::size_t>(block.channels()));
    for (auto& channel : filtered_) {
        channel.resize(std::max(channel.size(), frames));
    }
    auto& out = filtered_;
    for (int c = 0; c < block.channels(); c += 2) {
        const auto first = static_cast<std::size_t>(c);
        if (c + 1 < block.channels()) {
            BandFilters::processPair(filters_[first], block.channel(c), out[first], filters_[first + 1],
                                     block.channel(c + 1), out[first + 1]);
        } else {
            filters_[first].process(block.channel(c), out[first]);
        }
    }
}

// Runs of neighbouring points are summed a few at a time.
void WaveformAccumulator::addChannel(std::span<const float> read, std::span<const BandSample> filtered,
                                     std::int64_t firstFrame) {
    const auto frames = static_cast<std::int64_t>(filtered.size());
    std::array<Run, sideBySide> group;
    std::size_t grouped = 0;
    std::int64_t j = 0;
    while (j < frames) {
        const std::int64_t point = pointOf(firstFrame + j);
        const std::int64_t end =
            point == points_ - 1 ? frames : std::min(frames, firstFrameOf(point + 1) - firstFrame);
        const auto first = static_cast<std::size_t>(j);
        const auto count = static_cast<std::size_t>(end - j);
        group[grouped++] = {point, read.subspan(first, count), filtered.subspan(first, count)};
        if (grouped == sideBySide) {
            addRuns(group);
            grouped = 0;
        }
        j = end;
    }
    if (grouped > 0) {
        addRuns({group.data(), grouped});
    }
}

// Up to sideBySide runs, each of another point.
void WaveformAccumulator::addRuns(std::span<const Run> runs) {
    RunGroup group;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        group.samples[k] = runs[k].filtered;
        group.sums[k] = sums_[static_cast<std::size_t>(runs[k].point)];
    }
    const bool avx = hasAvx();
    if (avx) {
        addSideBySideWithAvx(group);
    } else {
        addSideBySidePortably(group);
    }
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const float largest = avx ? largestWithAvx(runs[k].read) : largestPortably(runs[k].read);
        addToPoint(static_cast<std::size_t>(runs[k].point), runs[k].read.size(), group.sums[k], largest);
    }
}

void WaveformAccumulator::addToPoint(std::size_t point, std::size_t samples, const Sums& sums, float largest) {
    sums_[point] = sums;
    peaks_[point] = std::max(peaks_[point], std::min(largest, 1.0f));
    counts_[point] += static_cast<std::int64_t>(samples);
}

std::vector<float> WaveformAccumulator::levels(std::size_t lane) const {
    std::vector<float> values(sums_.size());
    for (std::size_t p = 0; p < values.size(); ++p) {
        const double mean = std::max(sums_[p][lane], 0.0) / static_cast<double>(std::max<std::int64_t>(counts_[p], 1));
        values[p] = static_cast<float>(std::min(std::sqrt(mean), 1.0));
    }
    return values;
}

Waveform WaveformAccumulator::finish(double duration) const {
    return Waveform::make(duration, peaks_, levels(signalLane), levels(lowLane), levels(midLane), levels(highLane));
}

}  // namespace kelvara
