// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/decoding_thread.h"

#include "analysis/audio_decoder.h"

namespace kelvara {

DecodingThread::DecodingThread(AudioDecoder& decoder, std::size_t depth)
    : depth_(depth), worker_([this, &decoder] { run(decoder); }) {}

DecodingThread::~DecodingThread() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
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
    changed_.notify_all();
}

// On the decoder's thread: hands the filled block over and gives the decoder an empty one.
bool DecodingThread::consume(AudioBlock& block) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || ready_.size() < depth_; });
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
    lock.unlock();
    changed_.notify_all();
    return true;
}

const AudioBlock* DecodingThread::next() {
    std::unique_lock lock(mutex_);
    if (current_) {
        spare_.push_back(std::move(*current_));
        current_.reset();
    }
    changed_.wait(lock, [this] { return !ready_.empty() || finished_; });
    if (ready_.empty()) {
        if (error_) {
            std::rethrow_exception(error_);
        }
        return nullptr;
    }
    current_.emplace(std::move(ready_.front()));
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return &*current_;
}

}  // namespace kelvara
