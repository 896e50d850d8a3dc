// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace kelvara {

// Hands items from one producer thread to one consumer thread in order, at most `depth`
// waiting, and recycles their storage, so that a stream of large blocks allocates only its
// first few. A waiting side is woken only once a batch of items (or of room) is ready: every
// wake-up invites the scheduler to put both threads on one core.
template <typename Item>
class HandoffQueue {
public:
    HandoffQueue(std::size_t depth, std::function<Item()> makeItem)
        : depth_(depth), batch_(std::max<std::size_t>(1, depth / 2)), makeItem_(std::move(makeItem)) {}

    // Producer: an item to fill, after waiting for room; nullptr once the consumer has left.
    Item* beginPush() {
        std::unique_lock lock(mutex_);
        if (ready_.size() >= depth_ && !abandoned_) {
            producerWaiting_ = true;
            writable_.wait(lock, [this] { return abandoned_ || ready_.size() + batch_ <= depth_; });
            producerWaiting_ = false;
        }
        if (abandoned_) {
            return nullptr;
        }
        if (spare_.empty()) {
            filling_.emplace(makeItem_());
        } else {
            filling_.emplace(std::move(spare_.back()));
            spare_.pop_back();
        }
        return &*filling_;
    }

    // Producer: queues the item beginPush() gave.
    void endPush() {
        std::unique_lock lock(mutex_);
        ready_.push_back(std::move(*filling_));
        filling_.reset();
        const bool wake = consumerWaiting_ && ready_.size() >= batch_;
        lock.unlock();
        if (wake) {
            readable_.notify_one();
        }
    }

    // Producer: no more items; `error`, if any, reaches the consumer after the items before it.
    void finish(std::exception_ptr error) {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
            error_ = error;
        }
        readable_.notify_all();
    }

    // Consumer: the next item in order, valid until the next call; nullptr after the last one.
    // Rethrows the producer's error once the items before it have been taken.
    const Item* next() {
        std::unique_lock lock(mutex_);
        if (current_) {
            spare_.push_back(std::move(*current_));
            current_.reset();
        }
        if (ready_.empty() && !finished_) {
            consumerWaiting_ = true;
            readable_.wait(lock, [this] { return ready_.size() >= batch_ || finished_; });
            consumerWaiting_ = false;
        }
        if (ready_.empty()) {
            if (error_) {
                std::rethrow_exception(error_);
            }
            return nullptr;
        }
        current_.emplace(std::move(ready_.front()));
        ready_.pop_front();
        const bool wake = producerWaiting_ && ready_.size() + batch_ <= depth_;
        lock.unlock();
        if (wake) {
            writable_.notify_one();
        }
        return &*current_;
    }

    // Consumer: takes no more items; a producer waiting for room is released.
    void abandon() {
        {
            const std::lock_guard lock(mutex_);
            abandoned_ = true;
        }
        writable_.notify_all();
    }

private:
    std::size_t depth_;
    std::size_t batch_;
    std::function<Item()> makeItem_;
    std::mutex mutex_;
    std::condition_variable readable_;
    std::condition_variable writable_;
    bool consumerWaiting_ = false;
    bool producerWaiting_ = false;
    std::deque<Item> ready_;
    std::vector<Item> spare_;
    std::optional<Item> filling_;  // the producer's, between beginPush() and endPush()
    std::optional<Item> current_;  // the consumer's, until its next call
    bool finished_ = false;
    bool abandoned_ = false;
    std::exception_ptr error_;
};

}  // namespace kelvara
