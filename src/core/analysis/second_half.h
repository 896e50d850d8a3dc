// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/band_filters.h"
#include "analysis/waveform_accumulator.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvara {

class AudioDecoder;

// Analyses a PCM file from `firstFrame` to its end on a thread of its own, while the caller
// reads the part before. Its filters start from silence there, not from where the caller's
// will arrive, so its totals are right only from the first block boundary where both filter
// memories agree to the bit: from there on both compute the same numbers. It keeps its
// memory at every block boundary so that the caller can find that place.
class SecondHalf : private AudioBlockSink {
public:
    // Starts at once. `decoder` must read anywhere and outlive this; `firstFrame` must be a
    // block boundary.
    SecondHalf(const AudioDecoder& decoder, std::int64_t firstFrame);
    // Stops the thread at its next block and waits for it.
    ~SecondHalf() override;
    SecondHalf(const SecondHalf&) = delete;
    SecondHalf& operator=(const SecondHalf&) = delete;

    std::int64_t firstFrame() const { return firstFrame_; }
    std::int64_t framesRead() const { return framesRead_.load(std::memory_order_relaxed); }

    // The filter memory of every channel before the block that starts at `frame`, which
    // must be one of this half's block boundaries. Waits until the thread gets there, which
    // it normally has long done (it starts with the caller and only a busy machine holds it
    // back); nullptr when it stopped before.
    const std::vector<BandFilters::Memory>* memoryAt(std::int64_t frame);

    // Gives up: the thread stops at its next block.
    void stop();

    // Waits for the end of the file and gives the totals; rethrows what ended the reading
    // early. Not after stop().
    const WaveformAccumulator& totals();

private:
    bool consume(AudioBlock& block) override;
    void run(const AudioDecoder& decoder);

    std::int64_t firstFrame_;
    WaveformAccumulator accumulator_;
    // One entry per block, each written before blocksStarted_ counts it.
    std::vector<std::vector<BandFilters::Memory>> memories_;
    std::mutex mutex_;
    std::condition_variable advanced_;
    std::size_t blocksStarted_ = 0;  // under mutex_
    bool ended_ = false;             // under mutex_
    std::atomic<std::int64_t> framesRead_ = 0;
    std::atomic<bool> stopped_ = false;
    std::exception_ptr error_;
    std::thread worker_;
};

}  // namespace kelvara
