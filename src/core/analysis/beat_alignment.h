// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_variant.h"
#include "models/cancellation.h"

#include <optional>
#include <span>

namespace kelvara {

// Lays a beat grid of a roughly known period over the onsets of an envelope: the phase that
// gathers the most onset weight, the period refined within one envelope sample, then a
// weighted regression of onset time on beat number, and the grid line nearest to the first
// onset on it.
class BeatAlignment {
public:
    struct Result {
        double period = 0;             // seconds
        double origin = 0;             // seconds, ≥ 0: the grid line nearest to the first aligned onset
        std::size_t alignedOnsets = 0; // onsets within tolerance of the final grid
    };

    // `strengths` are the normalised onset strengths at `rate` samples per second. None when
    // there are too few onsets or none lies on the final grid. Polls `cancelled` during the
    // period refinement.
    static std::optional<Result> fit(std::span<const double> strengths, double rate, double period,
                                     const TempoVariant& variant, const CancelCheck& cancelled);
};

}  // namespace kelvara
