// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/timeline_writer.h"

#include <algorithm>
#include <cstdlib>

namespace kelvara {

TimelineWriter::TimelineWriter(AudioBlockSink& sink, int channels, std::int64_t blockFrames, std::int64_t limit,
                               std::int64_t jitter)
    : sink_(sink), block_(channels, blockFrames), limit_(limit), jitter_(jitter) {}

bool TimelineWriter::place(std::span<const float* const> planes, std::int64_t frames,
                           std::optional<std::int64_t> position) {
    const std::int64_t at = position && std::llabs(*position - next_) > jitter_ ? *position : next_;
    if (at > next_) {
        write({}, at - next_);
    }
    const std::int64_t overlap = std::clamp<std::int64_t>(next_ - at, 0, frames);
    if (overlap == frames) {
        return !stopped_;
    }
    std::vector<const float*> rest(planes.begin(), planes.end());
    for (const float*& plane : rest) {
        plane += overlap;
    }
    write(rest, frames - overlap);
    return !stopped_;
}

void TimelineWriter::write(std::span<const float* const> planes, std::int64_t frames) {
    const std::int64_t kept = std::clamp<std::int64_t>(limit_ - delivered_, 0, frames);
    next_ += frames;
    std::int64_t taken = 0;
    while (taken < kept && !stopped_) {
        const auto count = std::min(kept - taken, block_.capacity() - block_.frames());
        for (int c = 0; c < block_.channels(); ++c) {
            const auto target = block_.freeSpace(c).begin();
            if (planes.empty()) {
                std::fill_n(target, count, 0.0f);
            } else {
                std::copy_n(planes[static_cast<std::size_t>(c)] + taken, count, target);
            }
        }
        block_.grow(count);
        taken += count;
        delivered_ += count;
        if (block_.full()) {
            handOver();
        }
    }
}

void TimelineWriter::finish() {
    if (block_.frames() > 0 && !stopped_) {
        handOver();
    }
}

void TimelineWriter::handOver() {
    stopped_ = !sink_.consume(block_);
    block_.restart(delivered_);
}

}  // namespace kelvara
