// SPDX-License-Identifier: GPL-3.0-or-later
#include "style_set.h"

#include <array>
#include <random>

namespace kelvara::testing {

namespace {

const std::vector<StyleTrack>& styles() {
    static const std::vector<StyleTrack> table{
        {"House", 124, {.kick = "x...x...x...x...", .snare = "....x.......x...", .openHat = "..x...x...x...x.",
                        .bass = "..x...x...x...x.", .chords = true}},
        {"DeepHouse", 120, {.kick = "x...x...x...x...", .openHat = "..x...x...x...x.", .rim = "...x..x....x..x.",
                            .bass = "x.....x...x.....", .chords = true}},
        {"Techno", 132, {.kick = "x...x...x...x...", .hat = "..x...x...x...x.", .rim = "...x.....x...x..",
                         .bass = "x.x.x.x.x.x.x.x."}},
        {"TechHouse", 127, {.kick = "x...x...x...x...", .snare = "....x.......x...", .hat = "x.xxx.xxx.xxx.xx",
                            .bass = "..x...x...x..x.x"}},
        {"Trance", 138, {.kick = "x...x...x...x...", .snare = "....x.......x...", .openHat = "..x...x...x...x.",
                         .bass = ".xxx.xxx.xxx.xxx", .chords = true}},
        {"Disco", 118, {.kick = "x...x...x...x...", .snare = "....x.......x...", .hat = "xxxxxxxxxxxxxxxx",
                        .openHat = "..x...x...x...x.", .bass = "x.x.x.x.x.x.x.x.", .chords = true}},
        {"Hardstyle", 150, {.kick = "x...x...x...x...", .snare = "....x.......x...", .hat = "..x...x...x...x.",
                            .bass = "..x...x...x...x."}},
        {"Electro", 128, {.kick = "x.....x...x.....", .snare = "....x.......x...", .hat = "xxxxxxxxxxxxxxxx",
                          .bass = "x..x..x...x..x.."}},
        {"DrumAndBass", 174, {.kick = "x.........x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                              .bass = "x.........x....."}},
        {"Jungle", 165, {.kick = "x.x.......x.....", .snare = "....x..x.x..x..x", .hat = "x.x.x.x.x.x.x.x.",
                         .bass = "x.......x......."}},
        {"Dubstep", 140, {.kick = "x.........x.....", .snare = "........x.......", .hat = "x.x.x.x.x.x.x.x.",
                          .bass = "x.......x......."}},
        {"Trap", 140, {.kick = "x......x..x.....", .snare = "........x.......", .hat = "x.x.x.x.xxx.x.x.",
                       .bass = "x......x..x....."}},
        {"HipHop", 90, {.kick = "x.....x...x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                        .bass = "x.........x.....", .chords = true}},
        {"LoFi", 82, {.kick = "x......x..x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                      .bass = "x.........x.....", .chords = true}},
        {"Rock", 100, {.kick = "x.......x.x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                       .bass = "x.......x.......", .chords = true}},
        {"Pop", 110, {.kick = "x.......x.......", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                      .bass = "x.....x.x.......", .chords = true}},
        {"Punk", 180, {.kick = "x.......x.......", .snare = "....x.......x...", .hat = "x...x...x...x...",
                       .bass = "x.x.x.x.x.x.x.x."}},
        {"Funk", 105, {.kick = "x.x....x..x.....", .snare = "....x..x.x..x...", .hat = "xxxxxxxxxxxxxxxx",
                       .bass = "x..x..x...x.x..."}},
        {"OneDrop", 76, {.kick = "........x.......", .hat = "x.x.x.x.x.x.x.x.", .rim = "..x...x.x.x...x.",
                         .bass = "..x.....x..x...."}},
        {"Dembow", 96, {.kick = "x...x...x...x...", .snare = "...x..x....x..x.", .hat = "x.x.x.x.x.x.x.x.",
                        .bass = "x.........x.....", .chords = true}},
        // Two bars of cut time: cowbell on the beats, the 2-3 clave, an anticipated bass.
        {"Salsa", 180, {.stepsPerBeat = 2, .kick = "...x..x....x..x.", .hat = "x.x.x.x.x.x.x.x.",
                        .rim = "..x.x...x..x..x.", .bass = "...x..x....x..x.", .chords = true}},
        {"Waltz", 150, {.kick = "x...........", .rim = "....x...x...", .bass = "x...........", .chords = true}},
        {"Ballad", 72, {.kick = "x.......x.......", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                        .bass = "x.......x.......", .chords = true}},
        {"SlowBallad", 68, {.kick = "x.........x.....", .snare = "....x.......x...", .hat = "xxxxxxxxxxxxxxxx",
                            .bass = "x.......x.......", .chords = true}},
        {"Shuffle", 96, {.stepsPerBeat = 3, .kick = "x.....x.....", .snare = "...x.....x..", .hat = "x.xx.xx.xx.x",
                         .bass = "x..x..x..x.."}},
        {"Samba", 100, {.kick = "....x.......x...", .hat = "xxxxxxxxxxxxxxxx", .rim = "x.x.x..x.x.x..x.",
                        .bass = "x...x...x...x..."}},
        {"Afrobeat", 110, {.kick = "x.....x...x.....", .snare = "....x..x....x...", .hat = "x.xxx.xxx.xxx.xx",
                           .rim = "..x..x....x..x..", .bass = "x..x....x..x...."}},
        {"UKGarage", 132, {.kick = "x......x..x.....", .snare = "....x.......x...", .openHat = "..x...x...x...x.",
                           .rim = "x..x..x...x..x..", .bass = "x......x..x....."}},
        {"Footwork", 160, {.kick = "x..x..x.x..x..x.", .snare = "........x.......", .hat = "x.x.x.x.x.x.x.x."}},
        // A swung ride over a walking bass, the hi-hat pedal on two and four; no kick drum.
        {"JazzSwing", 140, {.stepsPerBeat = 3, .kick = "............", .hat = "x..x.xx..x.x", .rim = "...x.....x..",
                            .bass = "x..x..x..x.."}},
    };
    return table;
}

constexpr std::array<StyleTrack::Arrangement, 3> arrangements{
    StyleTrack::Arrangement::Pushed, StyleTrack::Arrangement::Breakdown, StyleTrack::Arrangement::Intro};

}  // namespace

std::vector<StyleTrack> StyleSet::tuningHalf() { return half(0); }

std::vector<StyleTrack> StyleSet::heldOutHalf() { return half(1); }

// Styles alternate between the halves in table order; the first downbeats are seeded.
std::vector<StyleTrack> StyleSet::half(std::size_t parity) {
    std::mt19937 random(static_cast<unsigned>(17 + parity));
    std::uniform_real_distribution<double> downbeats(0.1, 2.0);
    std::vector<StyleTrack> tracks;
    for (std::size_t i = parity; i < styles().size(); i += 2) {
        for (const StyleTrack::Arrangement arrangement : arrangements) {
            tracks.push_back(styles()[i].arranged(arrangement, downbeats(random)));
        }
    }
    return tracks;
}

}  // namespace kelvara::testing
