// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tempo_analyzer.h"

#include "analysis/beat_alignment.h"
#include "analysis/beat_octave.h"
#include "analysis/beat_period_search.h"
#include "analysis/onset_envelope.h"
#include "analysis/tempo_variant.h"

#include <algorithm>

namespace kelvara {

namespace {

constexpr double shortestTrack = 8.0;    // seconds
constexpr double lowestEnvelopeRate = 30;  // samples per second
constexpr double minimumConfidence = 0.08;

// A grid that explains fewer onsets than it has beats loses confidence in proportion.
double confidence(double score, double duration, const BeatAlignment::Result& alignment) {
    const double beats = duration / alignment.period;
    if (beats >= 1) {
        score *= std::min(1.0, static_cast<double>(alignment.alignedOnsets) / beats);
    }
    return score;
}

}  // namespace

std::optional<BeatGrid> detectBeatGrid(const Waveform& waveform, const CancelCheck& cancelled,
                                       const TempoVariant& variant) {
    const double duration = waveform.duration;
    if (!waveform.valid() || duration < shortestTrack) {
        return std::nullopt;
    }
    const double rate = OnsetEnvelope::rateFor(waveform);
    if (rate < lowestEnvelopeRate) {
        return std::nullopt;
    }
    const OnsetEnvelope envelope = OnsetEnvelope::build(waveform, cancelled);
    const std::optional<std::vector<double>> strengths = envelope.normalised(variant);
    if (!strengths) {
        return std::nullopt;
    }
    auto beat = BeatPeriodSearch::find(*strengths, rate, variant.barSupport, cancelled);
    if (!beat) {
        return std::nullopt;
    }
    if (variant.octaveByPulse) {
        beat = BeatOctave::settle(*beat, *strengths, envelope);
    }
    const auto alignment = BeatAlignment::fit(*strengths, rate, beat->period, variant, cancelled);
    if (!alignment) {
        return std::nullopt;
    }
    const double score = confidence(beat->score, duration, *alignment);
    if (score <= minimumConfidence) {
        return std::nullopt;
    }
    const BeatGrid grid{.bpm = 60 / alignment->period, .origin = alignment->origin, .confidence = std::min(score, 1.0)};
    if (!grid.valid()) {
        return std::nullopt;
    }
    return grid;
}

std::optional<BeatGrid> TempoAnalyzer::analyze(const Waveform& waveform, const CancelCheck& cancelled) {
    return detectBeatGrid(waveform, cancelled, TempoVariant{});
}

}  // namespace kelvara
