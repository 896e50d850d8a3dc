// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/waveform_column.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvara {

// The analysed envelopes of one audio file: five parallel series, one entry per equal slice
// of the track (point i starts at i ÷ count × duration), plus the automatic tempo grid.
struct Waveform {
    static constexpr std::int64_t currentVersion = 3;
    static constexpr std::size_t maxPoints = 32'768;

    std::int64_t version = currentVersion;
    double duration = 0;  // seconds
    std::vector<float> peaks;
    std::vector<float> rms;
    std::vector<float> low;   // RMS below 250 Hz
    std::vector<float> mid;   // RMS 250–2500 Hz
    std::vector<float> high;  // RMS above 2500 Hz
    std::optional<BeatGrid> beatGrid;

    // A missing rms copies peaks; a missing band becomes zeros as long as peaks.
    static Waveform make(double duration, std::vector<float> peaks,
                         std::optional<std::vector<float>> rms = std::nullopt,
                         std::optional<std::vector<float>> low = std::nullopt,
                         std::optional<std::vector<float>> mid = std::nullopt,
                         std::optional<std::vector<float>> high = std::nullopt);

    // Current version, positive finite duration, 1…32,768 points, equal series lengths,
    // every value finite in 0…1, and a valid grid if there is one.
    bool valid() const;

    // peaks reduced to at most `columns` bucket maxima.
    std::vector<float> downsample(int columns) const;

    // At most one column per point of the visible range [rangeLower, rangeUpper] (fractions
    // of the track); empty when count ≤ 0, the record is not valid or a bound is not finite.
    std::vector<WaveformColumn> displayColumns(int count, double rangeLower, double rangeUpper) const;
};

}  // namespace kelvara
