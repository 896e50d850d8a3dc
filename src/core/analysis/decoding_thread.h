// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kelvara {

class AudioDecoder;

// Runs a decoder on a thread of its own, a few blocks ahead of the reader, so decoding and
// analysis share the two cores. Memory stays bounded: at most `depth` blocks wait.
class DecodingThread : private AudioBlockSink {
public:
    DecodingThread(AudioDecoder& decoder, std::size_t depth = 16);
    // Stops the decoder at its next block and waits for it.
    ~DecodingThread() override;
    DecodingThread(const DecodingThread&) = delete;
    DecodingThread& operator=(const DecodingThread&) = delete;

    // The next block in file order, valid until the next call; nullptr after the last one.
    // Rethrows what the decoder threw once the blocks before it have been read.
    const AudioBlock* next();

private:
    bool consume(AudioBlock& block) override;
    void run(AudioDecoder& decoder);

    std::size_t depth_;
    std::size_t batch_;
    std::mutex mutex_;
    std::condition_variable readable_;
    std::condition_variable writable_;
    bool readerWaiting_ = false;
    bool decoderWaiting_ = false;
    std::deque<AudioBlock> ready_;
    std::vector<AudioBlock> spare_;
    std::optional<AudioBlock> current_;
    bool finished_ = false;
    bool abandoned_ = false;
    std::exception_ptr error_;
    std::thread worker_;
};

}  // namespace kelvara
