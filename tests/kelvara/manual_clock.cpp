// SPDX-License-Identifier: GPL-3.0-or-later
#include "manual_clock.h"

#include <QCoreApplication>
#include <QCoroSignal>

#include <algorithm>

namespace kelvara::testing {

QCoro::Task<bool> ManualClock::sleep(std::chrono::nanoseconds duration, TaskToken token) {
    if (token.isCancelled()) {
        co_return false;
    }
    SleepWaker waker;
    sleepers_.push_back({now_ + std::chrono::duration<double>(duration).count(), &waker});
    QObject::connect(token.notifier(), &TaskCancellation::cancelled, &waker, &SleepWaker::woken);
    co_await qCoro(&waker, &SleepWaker::woken);
    std::erase_if(sleepers_, [&](const Sleeper& sleeper) { return sleeper.waker == &waker; });
    co_return !token.isCancelled();
}

void ManualClock::advance(double seconds) {
    const double target = now_ + seconds;
    QCoreApplication::sendPostedEvents();
    for (;;) {
        const auto next = std::min_element(sleepers_.begin(), sleepers_.end(),
                                           [](const Sleeper& a, const Sleeper& b) { return a.deadline < b.deadline; });
        if (next == sleepers_.end() || next->deadline > target) {
            break;
        }
        now_ = std::max(now_, next->deadline);
        SleepWaker* waker = next->waker;
        next->deadline = std::numeric_limits<double>::infinity();  // woken once
        emit waker->woken();
        QCoreApplication::sendPostedEvents();
    }
    now_ = target;
}

}  // namespace kelvara::testing
