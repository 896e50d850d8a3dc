// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/filtered_block.h"
#include "analysis/handoff_queue.h"

#include <cstddef>
#include <thread>

namespace kelvara {

class DecodingThread;
class WaveformAccumulator;

// Runs the band filters of an accumulator on a thread of its own, between the decoding
// thread and the sums the caller adds, each a few blocks ahead of the next. Where decoding
// costs next to nothing (PCM), filtering is most of the work: it gets a core to itself
// while decoding and summing share the other. The filters still see every block in file
// order, so the record is the same to the bit as on one thread.
class FilteringThread {
public:
    FilteringThread(DecodingThread& decoding, WaveformAccumulator& accumulator, std::size_t depth = 4);
    // Stops at the next block and waits for the thread.
    ~FilteringThread();
    FilteringThread(const FilteringThread&) = delete;
    FilteringThread& operator=(const FilteringThread&) = delete;

    // The next filtered block in file order, valid until the next call; nullptr after the
    // last one. Rethrows what the decoder threw once the blocks before it have been read.
    const FilteredBlock* next() { return filtered_.next(); }

private:
    void run(DecodingThread& decoding, WaveformAccumulator& accumulator);

    HandoffQueue<FilteredBlock> filtered_;
    std::thread worker_;
};

}  // namespace kelvara
