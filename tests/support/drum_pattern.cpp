// SPDX-License-Identifier: GPL-3.0-or-later
#include "drum_pattern.h"

#include <array>

namespace kelvara::testing {

namespace {

constexpr std::array<double, 4> bassRoots{55.0, 43.65, 49.0, 65.41};  // A1 F1 G1 C2
constexpr std::array<double, 4> chordRoots{220.0, 174.61, 196.0, 261.63};

bool plays(const std::string& part, std::size_t step) { return step < part.size() && part[step] == 'x'; }

// Steps from `step` to the next 'x' of the part (or the end of the bar).
std::size_t stepsUntilNext(const std::string& part, std::size_t step) {
    std::size_t next = step + 1;
    while (next < part.size() && part[next] != 'x') {
        ++next;
    }
    return next - step;
}

}  // namespace

double DrumPattern::barLength(double bpm) const {
    return 60.0 / bpm / stepsPerBeat * static_cast<double>(kick.size());
}

void DrumPattern::render(SyntheticAudio& audio, double bpm, double start) const {
    const double bar = barLength(bpm);
    int barNumber = 0;
    for (double barStart = start; barStart < audio.duration(); barStart += bar, ++barNumber) {
        renderBar(audio, bpm, barStart, barNumber, {});
    }
}

void DrumPattern::renderBar(SyntheticAudio& audio, double bpm, double barStart, int barNumber,
                            const Bar& bar) const {
    const double step = 60.0 / bpm / stepsPerBeat;
    const std::size_t steps = kick.size();
    const std::size_t fillFrom = bar.fill ? steps - static_cast<std::size_t>(stepsPerBeat) : steps;
    const auto harmony = static_cast<std::size_t>(barNumber) % bassRoots.size();
    if (chords) {
        for (const double ratio : {1.0, 1.26, 1.5}) {
            audio.note(barStart, step * static_cast<double>(steps), chordRoots[harmony] * ratio, 0.04);
        }
    }
    for (std::size_t s = 0; s < steps; ++s) {
        const double t = barStart + step * (static_cast<double>(s) + (s % 2 == 1 ? bar.swing : 0.0));
        if (s >= fillFrom) {
            audio.snare(t, 0.3 + 0.2 * static_cast<double>(s - fillFrom) / stepsPerBeat);
        } else if (bar.drums) {
            if (plays(kick, s)) audio.kick(t);
            if (plays(snare, s)) audio.snare(t);
            if (plays(hat, s)) audio.hat(t);
            if (plays(openHat, s)) audio.openHat(t);
            if (plays(rim, s)) audio.rim(t);
        }
        if (plays(bass, s)) {
            audio.note(t, step * static_cast<double>(stepsUntilNext(bass, s)), bassRoots[harmony], 0.25);
        }
    }
}

}  // namespace kelvara::testing
