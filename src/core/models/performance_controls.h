// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// Arithmetic behind the remaining-time display and the seek lock.
struct PerformanceControls {
    static constexpr double warningSeconds = 30;
    static constexpr double criticalSeconds = 10;

    // duration − position (a negative position counts as 0), never below 0; 0 when either is not finite.
    static double remaining(double duration, double position);

    // 2 at ≤ 10 s remaining, 1 at ≤ 30 s, else 0; always 0 without a positive duration.
    static int urgency(double remaining, double duration);

    static bool maySeek(bool locked) { return !locked; }
};

}  // namespace kelvara
