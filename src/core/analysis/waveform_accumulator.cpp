// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_accumulator.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

using Double2 = double __attribute__((vector_size(16)));

constexpr std::size_t lowLane = 0, midLane = 1, highLane = 2, signalLane = 3;

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

void WaveformAccumulator::addBlock(const AudioBlock& block, const CancelCheck& cancelled) {
    filter(block, filtered_);
    add(filtered_, cancelled);
}

// Channels are filtered two at a time where that is cheaper.
void WaveformAccumulator::filter(const AudioBlock& block, FilteredBlock& out) {
    const auto frames = static_cast<std::size_t>(block.frames());
    out.firstFrame = block.firstFrame();
    out.frames = block.frames();
    out.channels.resize(static_cast<std::size_t>(block.channels()));
    for (auto& channel : out.channels) {
        channel.resize(std::max(channel.size(), frames));
    }
    for (int c = 0; c < block.channels(); c += 2) {
        const auto first = static_cast<std::size_t>(c);
        if (c + 1 < block.channels()) {
            BandFilters::processPair(filters_[first], block.channel(c), out.channels[first], filters_[first + 1],
                                     block.channel(c + 1), out.channels[first + 1]);
        } else {
            filters_[first].process(block.channel(c), out.channels[first]);
        }
    }
}

void WaveformAccumulator::add(const FilteredBlock& filtered, const CancelCheck& cancelled) {
    for (const auto& channel : filtered.channels) {
        throwIfCancelled(cancelled);
        addFiltered({channel.data(), static_cast<std::size_t>(filtered.frames)}, filtered.firstFrame);
    }
}

void WaveformAccumulator::addFiltered(std::span<const BandSample> filtered, std::int64_t firstFrame) {
    const auto frames = static_cast<std::int64_t>(filtered.size());
    std::int64_t j = 0;
    while (j < frames) {
        const std::int64_t point = pointOf(firstFrame + j);
        const std::int64_t end =
            point == points_ - 1 ? frames : std::min(frames, firstFrameOf(point + 1) - firstFrame);
        addRun(point, filtered.subspan(static_cast<std::size_t>(j), static_cast<std::size_t>(end - j)));
        j = end;
    }
}

// The sums of a point are added to one sample after the other in frame order, as a plain
// loop would, two lanes per register.
void WaveformAccumulator::addRun(std::int64_t point, std::span<const BandSample> run) {
    const auto p = static_cast<std::size_t>(point);
    Sums& sums = sums_[p];
    Double2 lowMid = {sums[lowLane], sums[midLane]};
    Double2 highSignal = {sums[highLane], sums[signalLane]};
    float peak = peaks_[p];
    for (const BandSample& sample : run) {
        const Double2 a = {sample.low, sample.mid};
        const Double2 b = {sample.high, sample.signal};
        lowMid += a * a;
        highSignal += b * b;
        peak = std::max(peak, std::min(std::fabs(sample.signal), 1.0f));
    }
    sums = {lowMid[0], lowMid[1], highSignal[0], highSignal[1]};
    peaks_[p] = peak;
    counts_[p] += static_cast<std::int64_t>(run.size());
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
