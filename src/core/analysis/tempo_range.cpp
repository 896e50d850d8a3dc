// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tempo_range.h"

#include "analysis/onset_envelope.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kelvara {

namespace {

const QString autoName = QStringLiteral("auto");

// Onset strength at the grid lines origin + k × interval inside the track, each the largest
// envelope sample within one sample of its line (a line falls between two samples).
double energyAt(const OnsetEnvelope& envelope, double origin, double interval) {
    const std::vector<double>& strength = envelope.strength;
    double sum = 0;
    for (double t = std::fmod(origin, interval); t * envelope.rate < static_cast<double>(strength.size()); t += interval) {
        const auto centre = static_cast<std::size_t>(std::lround(t * envelope.rate));
        const std::size_t first = centre > 0 ? centre - 1 : 0;
        const std::size_t end = std::min(strength.size(), centre + 2);
        sum += *std::max_element(strength.begin() + static_cast<std::ptrdiff_t>(first),
                                 strength.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return sum;
}

// Every other beat: the ones through the origin, or the ones after it when those carry more
// onset energy (ties keep the origin).
BeatGrid halve(const BeatGrid& grid, const std::optional<OnsetEnvelope>& envelope) {
    const double beat = grid.interval();
    BeatGrid half{grid.bpm / 2, grid.origin, grid.confidence};
    if (envelope && energyAt(*envelope, grid.origin + beat, 2 * beat) > energyAt(*envelope, grid.origin, 2 * beat)) {
        half.origin += beat;
    }
    return half;
}

}  // namespace

const std::array<TempoRange, 6> TempoRange::choices{{{0}, {60}, {70}, {80}, {90}, {100}}};

QString TempoRange::storedName() const {
    return isAuto() ? autoName : QStringLiteral("%1-%2").arg(lowest).arg(2 * lowest);
}

TempoRange TempoRange::fromStoredName(const QString& name) {
    const auto match = std::ranges::find(choices, name, &TempoRange::storedName);
    return match != choices.end() ? *match : TempoRange{};
}

BeatGrid TempoRange::fold(const BeatGrid& grid, const Waveform& waveform) const {
    if (isAuto() || !grid.valid()) {
        return grid;
    }
    BeatGrid folded = grid;
    while (folded.bpm < lowest) {
        folded.bpm *= 2;
    }
    std::optional<OnsetEnvelope> envelope;
    while (folded.bpm > 2 * lowest) {
        if (!envelope && waveform.valid()) {
            envelope = OnsetEnvelope::build(waveform, {});
        }
        folded = halve(folded, envelope);
    }
    return folded;
}

}  // namespace kelvara
