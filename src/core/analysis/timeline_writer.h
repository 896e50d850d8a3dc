// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kelvara {

// Lays decoded frames out on the file's own timeline and hands them to a sink in fixed-size
// blocks, up to the declared length. Damage never shifts what follows it: a gap left by a
// dropped packet is filled with silence, and data that lies over frames already written (a
// duplicated page) is skipped. Differences within the timestamps' own rounding (`jitter`
// frames) are not damage and change nothing.
class TimelineWriter {
public:
    TimelineWriter(AudioBlockSink& sink, int channels, std::int64_t blockFrames, std::int64_t limit,
                   std::int64_t jitter);

    // Frames handed on so far, silence included; never more than the limit.
    std::int64_t delivered() const { return delivered_; }
    // How far the decoded audio runs past the limit.
    std::int64_t surplus() const { return next_ > limit_ ? next_ - limit_ : 0; }
    bool stopped() const { return stopped_; }

    // Places `frames` frames of one buffer per channel at `position` (none: right after the
    // previous ones). Returns false once the sink wants no more.
    bool place(std::span<const float* const> planes, std::int64_t frames, std::optional<std::int64_t> position);

    // Hands on the last, shorter block.
    void finish();

private:
    // Writes `frames` frames from `planes` (none: silence), advancing the timeline.
    void write(std::span<const float* const> planes, std::int64_t frames);
    void handOver();

    AudioBlockSink& sink_;
    AudioBlock block_;
    std::int64_t limit_;
    std::int64_t jitter_;
    std::int64_t next_ = 0;  // where the next frame falls when it comes in order
    std::int64_t delivered_ = 0;
    bool stopped_ = false;
};

}  // namespace kelvara
