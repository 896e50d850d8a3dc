// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/filtered_block.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace kelvara {

class WaveformAccumulator;

// Runs the band filters of an accumulator on a thread of its own, one block ahead of the sums
// the caller adds. Where decoding costs next to nothing (PCM), filtering and summing are the
// whole work, and this spreads them over two cores. The filters still see every block in
// file order, so the record is the same to the bit as on one thread.
class FilteringThread {
public:
    explicit FilteringThread(WaveformAccumulator& accumulator);
    // Waits for the block being filtered, then stops.
    ~FilteringThread();
    FilteringThread(const FilteringThread&) = delete;
    FilteringThread& operator=(const FilteringThread&) = delete;

    // Starts filtering `block`, which must stay untouched until finished() returns. Only one
    // block is filtered at a time.
    void start(const AudioBlock& block);
    // Waits for the block started last and gives its filtered samples, valid until the next
    // block but one is started.
    const FilteredBlock& finished();

private:
    void run();

    WaveformAccumulator& accumulator_;
    std::array<FilteredBlock, 2> buffers_;
    std::size_t current_ = 0;  // the buffer of the block started last
    // Shared with the filtering thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    const AudioBlock* pending_ = nullptr;  // set by start(), cleared by the thread when done
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace kelvara
