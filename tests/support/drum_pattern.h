// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "synthetic_audio.h"

#include <string>

namespace kelvara::testing {

// One bar of a groove, one step string per part ('x' plays, anything else rests), repeated
// over a whole track. All strings of a pattern are the same length: the steps of one bar.
struct DrumPattern {
    // How one bar is played.
    struct Bar {
        bool drums = true;  // false: bass and chords only, as in a breakdown
        bool fill = false;  // the last beat is a snare roll instead of the drums
        double swing = 0;   // every second step comes this fraction of a step late
    };

    int stepsPerBeat = 4;
    std::string kick{};
    std::string snare{};
    std::string hat{};
    std::string openHat{};
    std::string rim{};
    std::string bass{};     // a low note starts at each 'x' and lasts until the next
    bool chords = false;    // a soft three-note chord changing on every bar line

    // Seconds per bar at `bpm`.
    double barLength(double bpm) const;

    // Plays the pattern over the whole signal at `bpm`, the first downbeat at `start` seconds.
    void render(SyntheticAudio& audio, double bpm, double start) const;

    // Plays bar number `barNumber` (which picks the harmony) from `barStart` seconds.
    void renderBar(SyntheticAudio& audio, double bpm, double barStart, int barNumber, const Bar& bar) const;
};

}  // namespace kelvara::testing
