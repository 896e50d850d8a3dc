// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/waveform.h"

#include <QString>

#include <array>

namespace kelvara {

// The octave of tempos a user expects a genre in (60–120 … 100–200 BPM), or Auto. Half-time
// genres cannot be told from their half tempo by rhythm alone, so the user picks the range
// and an automatic grid outside it is doubled or halved into it.
struct TempoRange {
    int lowest = 0;  // BPM; the range is lowest…2 × lowest, 0 for Auto

    bool operator==(const TempoRange&) const = default;

    static const std::array<TempoRange, 6> choices;  // Auto first

    bool isAuto() const { return lowest == 0; }

    // "auto", "60-120", … as kept in the user default `tempoRange`; an unknown name reads as Auto.
    QString storedName() const;
    static TempoRange fromStoredName(const QString& name);

    // The grid doubled or halved until its tempo lies in the range (bounds included); Auto and
    // grids that are not valid stay as they are. Halving keeps the beats, even or odd, that
    // carry more onset energy in `waveform`; the origin moves to the first of them.
    BeatGrid fold(const BeatGrid& grid, const Waveform& waveform) const;
};

}  // namespace kelvara
