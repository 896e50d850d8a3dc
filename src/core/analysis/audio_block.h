// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelvara {

// A run of decoded frames, one buffer of 32-bit float samples per channel, starting at frame
// `firstFrame` of the track. Its storage is allocated once and reused block after block.
class AudioBlock {
public:
    AudioBlock(int channels, std::int64_t capacity);

    int channels() const { return channels_; }
    std::int64_t capacity() const { return capacity_; }
    std::int64_t frames() const { return frames_; }
    std::int64_t firstFrame() const { return firstFrame_; }
    bool full() const { return frames_ == capacity_; }

    // The filled part of one channel.
    std::span<float> channel(int index);
    std::span<const float> channel(int index) const;

    // Room left after the filled part of one channel.
    std::span<float> freeSpace(int index);
    void grow(std::int64_t frames) { frames_ += frames; }

    // Empties the block for the frames that start at `firstFrame`.
    void restart(std::int64_t firstFrame);

    void swap(AudioBlock& other) noexcept;

private:
    float* channelStart(int index) { return samples_.data() + static_cast<std::size_t>(index * capacity_); }

    int channels_;
    std::int64_t capacity_;
    std::int64_t frames_ = 0;
    std::int64_t firstFrame_ = 0;
    std::vector<float> samples_;
};

// Takes the decoder's blocks as they come, like audiowaveform's processors: the decoder knows
// nothing of what is done with the audio, and the receiver never opens a file itself.
class AudioBlockSink {
public:
    virtual ~AudioBlockSink() = default;

    // Takes the samples of a full block (the last one may be shorter). The receiver may swap
    // the block with an empty one of the same shape instead of copying. Returning false asks
    // the decoder to stop.
    virtual bool consume(AudioBlock& block) = 0;
};

}  // namespace kelvara
