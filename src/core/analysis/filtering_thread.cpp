// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/filtering_thread.h"

#include "analysis/waveform_accumulator.h"

namespace kelvara {

FilteringThread::FilteringThread(WaveformAccumulator& accumulator)
    : accumulator_(accumulator), worker_([this] { run(); }) {}

FilteringThread::~FilteringThread() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return pending_ == nullptr; });
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void FilteringThread::start(const AudioBlock& block) {
    {
        const std::lock_guard lock(mutex_);
        current_ = 1 - current_;
        pending_ = &block;
    }
    changed_.notify_all();
}

const FilteredBlock& FilteringThread::finished() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return pending_ == nullptr; });
    return buffers_[current_];
}

void FilteringThread::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return pending_ != nullptr || stopping_; });
        if (stopping_) {
            return;
        }
        const AudioBlock& block = *pending_;
        FilteredBlock& out = buffers_[current_];
        lock.unlock();
        accumulator_.filter(block, out);
        lock.lock();
        pending_ = nullptr;
        changed_.notify_all();
    }
}

}  // namespace kelvara
