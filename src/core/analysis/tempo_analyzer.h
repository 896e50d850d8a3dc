// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/cancellation.h"
#include "models/waveform.h"

#include <cstdint>
#include <optional>

namespace kelvara {

// Finds the tempo and beat positions of a track from its finished waveform alone: an onset
// envelope from the three bands, the beat period by autocorrelation (supported by the bar),
// then period and phase refined against the individual onsets.
class TempoAnalyzer {
public:
    // Raised with every change that can give another grid for the same record, so that grids
    // cached by an older analyzer are found again. Records from before it was stored count as 1.
    static constexpr std::int64_t version = 3;

    // None when the track has no steady rhythm (too short, invalid, silent, a steady tone, no
    // clear period …). Throws CancellationError when `cancelled` answers true at one of its
    // polling points (every 1,024 envelope samples, every autocorrelation lag, every 16
    // refinement steps).
    static std::optional<BeatGrid> analyze(const Waveform& waveform, const CancelCheck& cancelled);
};

}  // namespace kelvara
