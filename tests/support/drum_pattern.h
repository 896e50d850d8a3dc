// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "synthetic_audio.h"

#include <string>

namespace kelvara::testing {

// One bar of a groove, one step string per part ('x' plays, anything else rests), repeated
// over a whole track. All strings of a pattern are the same length: the steps of one bar.
struct DrumPattern {
    int stepsPerBeat = 4;
    std::string kick{};
    std::string snare{};
    std::string hat{};
    std::string openHat{};
    std::string rim{};
    std::string bass{};     // a low note starts at each 'x' and lasts until the next
    bool chords = false;    // a soft three-note chord changing on every bar line

    // Plays the pattern over the whole signal at `bpm`, the first downbeat at `start` seconds.
    void render(SyntheticAudio& audio, double bpm, double start) const;
};

}  // namespace kelvara::testing
