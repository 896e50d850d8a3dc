// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cancellation.h"

#include <optional>
#include <span>

namespace kelvara {

// The beat period of an onset envelope, found by normalised autocorrelation over the lags of
// 65–200 BPM with a mild preference for tempos near 120 BPM.
class BeatPeriodSearch {
public:
    static constexpr double fastestTempo = 200;  // BPM
    static constexpr double slowestTempo = 65;   // BPM

    struct Result {
        double period = 0;  // seconds
        double score = 0;   // autocorrelation at the period times the tempo prior
    };

    // `strengths` are the normalised onset strengths at `rate` samples per second. None when
    // the track holds fewer than eight beats at 65 BPM, there is no peak, or the best is weak.
    // Polls `cancelled` before the autocorrelation and after every lag.
    static std::optional<Result> find(std::span<const double> strengths, double rate, bool barSupport,
                                      const CancelCheck& cancelled);

    // 1 at 120 BPM, falling slowly by octaves away from it.
    static double tempoPrior(double tempo);
};

}  // namespace kelvara
