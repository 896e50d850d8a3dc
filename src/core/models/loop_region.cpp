// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/loop_region.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

std::optional<LoopRegion> LoopRegion::make(double a, double b, double duration) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(duration) || duration <= 0) {
        return std::nullopt;
    }
    const double start = std::clamp(std::min(a, b), 0.0, duration);
    const double end = std::clamp(std::max(a, b), 0.0, duration);
    if (end - start < minimumLength) {
        return std::nullopt;
    }
    return LoopRegion{start, end};
}

bool LoopRegion::shouldWrap(double position, bool playing) const {
    return playing && std::isfinite(position) && position >= end;
}

}  // namespace kelvara
