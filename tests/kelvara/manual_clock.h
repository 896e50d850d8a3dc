// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "uptime_clock.h"

#include <QObject>

#include <vector>

namespace kelvara::testing {

// Wakes one sleeping task. Resumption goes through the event queue, as with a real timer.
class SleepWaker : public QObject {
    Q_OBJECT
signals:
    void woken();
};

// Uptime that moves only when a test says so; sleeps end when advance() passes them.
class ManualClock final : public UptimeClock {
public:
    explicit ManualClock(double start = 100) : now_(start) {}

    double now() const override { return now_; }
    QCoro::Task<bool> sleep(std::chrono::nanoseconds duration, TaskToken token) override;

    // Moves time forward by `seconds`, waking each sleeper at its own deadline in order and
    // letting it run before the clock moves on.
    void advance(double seconds);

    // Number of tasks asleep right now.
    std::size_t sleepers() const { return sleepers_.size(); }

private:
    struct Sleeper {
        double deadline;
        SleepWaker* waker;
    };

    double now_;
    std::vector<Sleeper> sleepers_;
};

}  // namespace kelvara::testing
