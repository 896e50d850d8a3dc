// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/progress_report.h"

#include <algorithm>

namespace kelvara {

void ProgressReport::advance(std::int64_t frames) {
    framesRead_ += frames;
    const double fraction =
        std::min(static_cast<double>(framesRead_) / static_cast<double>(declaredFrames_), 1.0 - step);
    if (fraction - reported_ >= step) {
        report(fraction);
    }
}

void ProgressReport::report(double fraction) {
    reported_ = fraction;
    if (sink_) {
        sink_(fraction);
    }
}

}  // namespace kelvara
