// SPDX-License-Identifier: GPL-3.0-or-later
#include "style_track.h"

namespace kelvara::testing {

namespace {

using Arrangement = StyleTrack::Arrangement;

constexpr double tail = 1.0;  // seconds of silence after the last bar
constexpr int fillEvery = 8;  // bars

// The bars of an arrangement: how many, which are muffled or without drums, and how they swing.
struct Plan {
    double tempoFactor = 1;
    int bars = 32;
    int introBars = 0;
    int breakdownFrom = 0;
    int breakdownBars = 0;
    bool fills = false;
    double swing = 0;
    double noiseFloor = 0;  // dBFS, 0 for none
};

Plan planOf(Arrangement arrangement) {
    switch (arrangement) {
    case Arrangement::Pushed:
        return {.tempoFactor = 1.03, .swing = 0.33, .noiseFloor = -45};
    case Arrangement::Breakdown:
        return {.tempoFactor = 0.97, .bars = 48, .breakdownFrom = 16, .breakdownBars = 16, .fills = true};
    case Arrangement::Intro:
        return {.introBars = 8, .fills = true, .noiseFloor = -55};
    case Arrangement::Loop:
        break;
    }
    return {};
}

const char* nameOf(Arrangement arrangement) {
    switch (arrangement) {
    case Arrangement::Pushed:
        return "pushed";
    case Arrangement::Breakdown:
        return "breakdown";
    case Arrangement::Intro:
        return "intro";
    case Arrangement::Loop:
        break;
    }
    return "loop";
}

}  // namespace

StyleTrack StyleTrack::arranged(Arrangement other, double firstDownbeat) const {
    StyleTrack track = *this;
    track.bpm = bpm * planOf(other).tempoFactor / planOf(arrangement).tempoFactor;
    track.arrangement = other;
    track.start = firstDownbeat;
    return track;
}

std::string StyleTrack::name() const { return style + "/" + nameOf(arrangement); }

SyntheticAudio StyleTrack::render(int sampleRate) const {
    const Plan plan = planOf(arrangement);
    const double bar = pattern.barLength(bpm);
    SyntheticAudio audio(start + plan.bars * bar + tail, sampleRate);
    for (int b = 0; b < plan.bars; ++b) {
        const bool breakdown = b >= plan.breakdownFrom && b < plan.breakdownFrom + plan.breakdownBars;
        const bool fill = plan.fills && b % fillEvery == fillEvery - 1;
        pattern.renderBar(audio, bpm, start + b * bar, b, {.drums = !breakdown, .fill = fill, .swing = plan.swing});
    }
    if (plan.introBars > 0) {
        audio.lowPass(0, start + plan.introBars * bar, 200);
    }
    if (plan.noiseFloor < 0) {
        audio.noise(plan.noiseFloor);
    }
    return audio;
}

}  // namespace kelvara::testing
