// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/second_half.h"

#include "analysis/audio_decoder.h"
#include "models/cancellation.h"

#include <stdexcept>

namespace kelvara {

namespace {

std::size_t blocksFrom(std::int64_t firstFrame, std::int64_t frames) {
    return static_cast<std::size_t>((frames - firstFrame + AudioFormat::blockFrames - 1) / AudioFormat::blockFrames);
}

}  // namespace

SecondHalf::SecondHalf(const AudioDecoder& decoder, std::int64_t firstFrame)
    : firstFrame_(firstFrame),
      accumulator_(decoder.format().channels, decoder.format().sampleRate, decoder.format().declaredFrames),
      memories_(blocksFrom(firstFrame, decoder.format().declaredFrames)),
      worker_([this, &decoder] { run(decoder); }) {}

SecondHalf::~SecondHalf() {
    stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

const std::vector<BandFilters::Memory>* SecondHalf::memoryAt(std::int64_t frame) {
    const std::int64_t offset = frame - firstFrame_;
    if (offset < 0 || offset % AudioFormat::blockFrames != 0) {
        throw std::logic_error("SecondHalf::memoryAt: not a block boundary of this half");
    }
    const auto block = static_cast<std::size_t>(offset / AudioFormat::blockFrames);
    std::unique_lock lock(mutex_);
    advanced_.wait(lock, [&] { return block < blocksStarted_ || ended_; });
    return block < blocksStarted_ ? &memories_[block] : nullptr;
}

void SecondHalf::stop() { stopped_.store(true, std::memory_order_relaxed); }

const WaveformAccumulator& SecondHalf::totals() {
    if (stopped_.load(std::memory_order_relaxed)) {
        throw std::logic_error("SecondHalf::totals after stop");
    }
    worker_.join();
    if (error_) {
        std::rethrow_exception(error_);
    }
    return accumulator_;
}

bool SecondHalf::consume(AudioBlock& block) {
    {
        const std::lock_guard lock(mutex_);
        memories_[blocksStarted_] = accumulator_.filterMemory();
        ++blocksStarted_;
    }
    advanced_.notify_all();
    const CancelCheck stopped = [this] { return stopped_.load(std::memory_order_relaxed); };
    accumulator_.addBlock(block, stopped);
    framesRead_.fetch_add(block.frames(), std::memory_order_relaxed);
    return !stopped();
}

void SecondHalf::run(const AudioDecoder& decoder) {
    try {
        decoder.decodeFrom(firstFrame_, *this);
    } catch (...) {
        error_ = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    advanced_.notify_all();
}

}  // namespace kelvara
