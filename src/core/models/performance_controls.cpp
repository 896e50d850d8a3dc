// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/performance_controls.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

double PerformanceControls::remaining(double duration, double position) {
    if (!std::isfinite(duration) || !std::isfinite(position)) {
        return 0;
    }
    return std::max(duration - std::max(position, 0.0), 0.0);
}

int PerformanceControls::urgency(double remaining, double duration) {
    if (!(duration > 0)) {
        return 0;
    }
    if (remaining <= criticalSeconds) {
        return 2;
    }
    return remaining <= warningSeconds ? 1 : 0;
}

}  // namespace kelvara
