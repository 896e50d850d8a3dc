// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/band_filters.h"
#include "models/cancellation.h"
#include "models/waveform.h"

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace kelvara {

// The running totals of one analysis: the track cut into N equal slices ("points"), each
// with its peak, its sample count and four sums of squares (all samples and the three
// bands), with one filter bank per channel. Samples of every channel add into the same
// totals, so the levels are taken over all channels together.
class WaveformAccumulator {
public:
    // Throws WaveformError when the filters cannot be made for this sample rate.
    WaveformAccumulator(int channels, int sampleRate, std::int64_t declaredFrames);

    // Sums of squares in the lane order of BandSample: low, mid, high, all samples.
    using Sums = std::array<double, 4>;

    std::int64_t points() const { return points_; }

    // The point that frame `frame` falls into: ⌊frame ÷ length × N⌋ in 64-bit float,
    // capped at the last point.
    std::int64_t pointOf(std::int64_t frame) const;

    // The first frame that falls into `point` or a later one.
    std::int64_t firstFrameOf(std::int64_t point) const;

    // Adds a block, channel after channel, asking `cancelled` before each channel; of its
    // frames only those before `endFrame`, though the filters take all of them.
    void addBlock(const AudioBlock& block, const CancelCheck& cancelled,
                  std::int64_t endFrame = std::numeric_limits<std::int64_t>::max());

    // Every channel's filter memory, in channel order.
    std::vector<BandFilters::Memory> filterMemory() const;

    // Replaces the totals of the points from `firstPoint` on with those of `other`, which
    // must have been made for the same channels and length.
    void takePoints(const WaveformAccumulator& other, std::int64_t firstPoint);

    // The levels so far: √(sum ÷ count) capped at 1, 0 for a point without samples.
    Waveform finish(double duration) const;

private:
    // The samples of one channel in one block that fall into one point, as read and after
    // the band split.
    struct Run {
        std::int64_t point;
        std::span<const float> read;
        std::span<const BandSample> filtered;
    };

    void filter(const AudioBlock& block);
    void addChannel(std::span<const float> read, std::span<const BandSample> filtered, std::int64_t firstFrame);
    void addRuns(std::span<const Run> runs);
    void addToPoint(std::size_t point, std::size_t samples, const Sums& sums, float largest);
    std::vector<float> levels(std::size_t lane) const;

    std::int64_t length_;
    std::int64_t points_;
    std::vector<BandFilters> filters_;
    // Each channel of the last block after the band split; the buffers only grow, so block
    // after block allocates nothing.
    std::vector<std::vector<BandSample>> filtered_;
    std::vector<float> peaks_;
    std::vector<Sums> sums_;
    std::vector<std::int64_t> counts_;
};

}  // namespace kelvara
