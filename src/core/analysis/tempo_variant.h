// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/cancellation.h"
#include "models/waveform.h"

#include <optional>

namespace kelvara {

// The steps of the tempo detector that replaced a simpler first form. The program always runs
// with every switch on; the tests turn one off at a time to show the fault it prevents.
struct TempoVariant {
    // Silence, faint noise and steady tones give no grid (the ripple of a low tone's
    // per-point RMS would otherwise read as a confident fast rhythm).
    bool levelGates = true;
    // Onset strengths keep their accents instead of being capped at the 90th percentile,
    // so a kick outweighs an off-beat hat.
    bool uncappedStrengths = true;
    // A beat candidate is scored with the support of 2, 3 and 4 beats, so a lag of one and a
    // half beats no longer ties with the beat.
    bool barSupport = true;
    // A found beat that repeats weakly, better over two of it, and without a kick on every
    // other one, is the eighths of a slow groove: the beat moves to the double period.
    bool octaveByPulse = true;
    // An onset is stamped at the centre of its envelope window, not at its start.
    bool centredOnsets = true;
    // An onset belongs to the nearest grid line, not to the one at or before it.
    bool nearestBeatNumbers = true;
};

// TempoAnalyzer::analyze with a chosen variant (the public call uses the defaults).
std::optional<BeatGrid> detectBeatGrid(const Waveform& waveform, const CancelCheck& cancelled,
                                       const TempoVariant& variant);

}  // namespace kelvara
