// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/beat_period_search.h"
#include "analysis/onset_envelope.h"

#include <span>

namespace kelvara {

// Two tempo levels an octave apart share most of their bar support, and the tempo prior hardly
// tells them apart, so the period search may take the eighths of a slow groove for its beat
// (kick and snare on every other pulse, hats in between). Such a pulse repeats only weakly
// from one pulse to the next and better over two, and its kick does not come on every other
// pulse; the beat then moves to the double period.
class BeatOctave {
public:
    // `beat` was found in `strengths` (the normalised onset strengths of `envelope`). The same
    // beat, or the one at double its period (down to 65 BPM) with its own score.
    static BeatPeriodSearch::Result settle(const BeatPeriodSearch::Result& beat, std::span<const double> strengths,
                                           const OnsetEnvelope& envelope);
};

}  // namespace kelvara
