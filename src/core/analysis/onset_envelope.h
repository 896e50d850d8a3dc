// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_variant.h"
#include "models/cancellation.h"
#include "models/waveform.h"

#include <optional>
#include <vector>

namespace kelvara {

// How strongly the band levels of a track rise at each envelope sample: the weighted rises of
// the log low, mid and high levels, less their mean over ±0.2 s.
struct OnsetEnvelope {
    double rate = 0;                 // envelope samples per second
    std::vector<double> strength;    // rises less the local mean, never negative
    std::vector<double> localMean;   // the means taken off, kept to recognise steady levels
    std::vector<double> energyMean;  // band energy averaged over the same ±0.2 s
    std::vector<double> lowStrength;  // the low band's own rises less their local mean: the kicks

    // `sampleCount` samples at `rate` over the waveform's points; polls `cancelled` every
    // 1,024 samples.
    static OnsetEnvelope build(const Waveform& waveform, double rate, std::size_t sampleCount,
                               const CancelCheck& cancelled);

    // The envelope at the waveform's own point rate, at most 200 samples per second.
    static double rateFor(const Waveform& waveform);
    static OnsetEnvelope build(const Waveform& waveform, const CancelCheck& cancelled);

    // The strengths relative to their 90th percentile, or none when the envelope carries no
    // rhythm: too few rises, silence or faint noise, or a steady tone.
    std::optional<std::vector<double>> normalised(const TempoVariant& variant) const;
};

}  // namespace kelvara
