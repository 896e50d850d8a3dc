// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/beat_period_search.h"
#include "analysis/onset_envelope.h"

#include <span>

namespace kelvara {

// Two tempo levels an octave apart share most of their bar support, and the tempo prior hardly
// tells them apart, so the period search often lands on the wrong one. The pulse decides:
// - the half period is the beat when it repeats strongly, in the mid band too (a snare on two
//   and four, hats on every beat), and four of it (a bar) repeat at least as well: a fast
//   groove was read at half tempo. Sixteenth hats of a slow groove repeat on every eighth as
//   well, but their pattern does not come round again after four eighths;
// - the double period is the beat when the found one repeats only weakly, its double better,
//   and the kick does not come on every other pulse: the found pulse holds the eighths of a
//   slow groove, kick and snare on every other one and hats in between.
class BeatOctave {
public:
    // `beat` was found in `strengths` (the normalised onset strengths of `envelope`). The same
    // beat, or the one at half or double its period within 65–200 BPM with its own score.
    static BeatPeriodSearch::Result settle(const BeatPeriodSearch::Result& beat, std::span<const double> strengths,
                                           const OnsetEnvelope& envelope);
};

}  // namespace kelvara
