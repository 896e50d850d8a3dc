// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace kelvara {

// Tells an analysis's caller how far the reading has come: the fraction of the declared
// frames read, at most once per `step` (the first block always reports), and never 1.0
// before report(1.0) says the analysis is done.
class ProgressReport {
public:
    static constexpr double step = 0.025;

    ProgressReport(std::function<void(double)> sink, std::int64_t declaredFrames)
        : sink_(std::move(sink)), declaredFrames_(declaredFrames) {}

    // `frames` more were read; where two readers overlap, the total may pass the declared length.
    void advance(std::int64_t frames);
    void report(double fraction);

private:
    std::function<void(double)> sink_;
    std::int64_t declaredFrames_;
    std::int64_t framesRead_ = 0;
    double reported_ = -1;
};

}  // namespace kelvara
