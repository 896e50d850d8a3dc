// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drum_pattern.h"
#include "synthetic_audio.h"

#include <string>

namespace kelvara::testing {

// One track of a style: its groove at a tempo, played in an arrangement that makes the beat
// harder to find than a steady loop does.
struct StyleTrack {
    enum class Arrangement {
        Loop,       // 32 bars as written
        Pushed,     // 3 % faster, the off-sixteenths swung, over a noise floor
        Breakdown,  // 3 % slower, fills every eighth bar, 16 bars without drums in the middle
        Intro,      // an 8-bar intro muffled below 200 Hz, fills, a faint noise floor
    };

    std::string style;
    double bpm = 0;  // the true tempo
    DrumPattern pattern;
    Arrangement arrangement = Arrangement::Loop;
    double start = 0;  // seconds: the first downbeat, the first beat of the grid

    // This style in another arrangement (its tempo moved with it) from `firstDownbeat`.
    StyleTrack arranged(Arrangement other, double firstDownbeat) const;

    std::string name() const;  // "House/breakdown"
    SyntheticAudio render(int sampleRate = 22'050) const;
};

}  // namespace kelvara::testing
