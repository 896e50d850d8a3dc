// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/timeline.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

double Timeline::position(double anchor, double elapsed, bool playing, double duration) {
    const double advanced = playing && elapsed >= 0 ? anchor + elapsed : anchor;
    return std::min(std::max(advanced, 0.0), std::max(duration, 0.0));
}

double Timeline::seek(double x, double width, double duration) {
    if (!(width > 0) || !std::isfinite(x) || !std::isfinite(duration)) {
        return 0;
    }
    return std::max(duration, 0.0) * std::clamp(x / width, 0.0, 1.0);
}

}  // namespace kelvara
