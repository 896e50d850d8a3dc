// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/decoding_thread.h"

#include "analysis/audio_decoder.h"

#include <algorithm>

namespace kelvara {

DecodingThread::DecodingThread(AudioDecoder& decoder, std::size_t depth)
    : depth_(depth), batch_(std::max<std::size_t>(1, depth / 2)), worker_([this, &decoder] { run(decoder); }) {}

DecodingThread::~DecodingThread() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    writable_.notify_all();
    worker_.join();
}

void DecodingThread::run(AudioDecoder& decoder) {
    std::exception_ptr error;
    try {
        decoder.decode(*this);
    } catch (...) {
        error = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        error_ = error;
    }
    readable_.notify_all();
}

// On the decoder's thread: hands the filled block over and gives the decoder an empty one.
// A waiting reader is woken only once a batch of blocks is ready (and a waiting decoder only
// once there is room for a batch): every wake-up invites the scheduler to put both threads
// on one core.
bool DecodingThread::consume(AudioBlock& block) {
    std::unique_lock lock(mutex_);
    if (ready_.size() >= depth_ && !abandoned_) {
        decoderWaiting_ = true;
        writable_.wait(lock, [this] { return abandoned_ || ready_.size() + batch_ <= depth_; });
        decoderWaiting_ = false;
    }
    if (abandoned_) {
        return false;
    }
    if (spare_.empty()) {
        ready_.emplace_back(block.channels(), block.capacity());
    } else {
        ready_.push_back(std::move(spare_.back()));
        spare_.pop_back();
    }
    ready_.back().swap(block);
    const bool wake = readerWaiting_ && ready_.size() >= batch_;
    lock.unlock();
    if (wake) {
        readable_.notify_one();
    }
    return true;
}

const AudioBlock* DecodingThread::next() {
    std::unique_lock lock(mutex_);
    if (current_) {
        spare_.push_back(std::move(*current_));
        current_.reset();
    }
    if (ready_.empty() && !finished_) {
        readerWaiting_ = true;
        readable_.wait(lock, [this] { return ready_.size() >= batch_ || finished_; });
        readerWaiting_ = false;
    }
    if (ready_.empty()) {
        if (error_) {
            std::rethrow_exception(error_);
        }
        return nullptr;
    }
    current_.emplace(std::move(ready_.front()));
    ready_.pop_front();
    const bool wake = decoderWaiting_ && ready_.size() + batch_ <= depth_;
    lock.unlock();
    if (wake) {
        writable_.notify_one();
    }
    return &*current_;
}

}  // namespace kelvara
