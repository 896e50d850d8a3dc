// SPDX-License-Identifier: GPL-3.0-or-later
#include "uptime_clock.h"

#include <QCoroTimer>
#include <QTimer>

#include <ctime>

namespace kelvara {

double SystemUptimeClock::now() const {
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

QCoro::Task<bool> SystemUptimeClock::sleep(std::chrono::nanoseconds duration, TaskToken token) {
    if (token.isCancelled()) {
        co_return false;
    }
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    // Cancelling fires the timer at once, so a cancelled task ends promptly.
    QObject::connect(token.notifier(), &TaskCancellation::cancelled, &timer, [&timer] { timer.start(0); });
    timer.start(std::chrono::ceil<std::chrono::milliseconds>(duration));
    co_await timer;
    co_return !token.isCancelled();
}

}  // namespace kelvara
