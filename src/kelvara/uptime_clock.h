// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "task_token.h"

#include <QCoroTask>

#include <chrono>

namespace kelvara {

// The time source of AppState: system uptime for elapsed time (never wall-clock time) and
// the sleeps of its tasks. Tests put a clock behind it that they move forward by hand.
class UptimeClock {
public:
    virtual ~UptimeClock() = default;

    // Seconds of uptime.
    virtual double now() const = 0;

    // Resumes on the main thread after `duration` of this clock's time, or soon after `token`
    // is cancelled. True when the full time passed and the token is still live.
    virtual QCoro::Task<bool> sleep(std::chrono::nanoseconds duration, TaskToken token) = 0;
};

// CLOCK_MONOTONIC and QTimer.
class SystemUptimeClock final : public UptimeClock {
public:
    double now() const override;
    QCoro::Task<bool> sleep(std::chrono::nanoseconds duration, TaskToken token) override;
};

}  // namespace kelvara
