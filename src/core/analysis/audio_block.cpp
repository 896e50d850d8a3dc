// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_block.h"

#include <utility>

namespace kelvara {

AudioBlock::AudioBlock(int channels, std::int64_t capacity)
    : channels_(channels), capacity_(capacity), samples_(static_cast<std::size_t>(channels * capacity)) {}

std::span<float> AudioBlock::channel(int index) {
    return {channelStart(index), static_cast<std::size_t>(frames_)};
}

std::span<const float> AudioBlock::channel(int index) const {
    return {samples_.data() + static_cast<std::size_t>(index * capacity_), static_cast<std::size_t>(frames_)};
}

std::span<float> AudioBlock::freeSpace(int index) {
    return {channelStart(index) + frames_, static_cast<std::size_t>(capacity_ - frames_)};
}

void AudioBlock::restart(std::int64_t firstFrame) {
    frames_ = 0;
    firstFrame_ = firstFrame;
}

void AudioBlock::swap(AudioBlock& other) noexcept {
    std::swap(channels_, other.channels_);
    std::swap(capacity_, other.capacity_);
    std::swap(frames_, other.frames_);
    std::swap(firstFrame_, other.firstFrame_);
    samples_.swap(other.samples_);
}

}  // namespace kelvara
