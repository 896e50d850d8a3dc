// SPDX-License-Identifier: GPL-3.0-or-later
// The tempo analyzer on the style set: the right tempo level, the tempo and the first beat of
// ninety arranged grooves. Two hours of audio take a while to render, so these run in the
// optimised build only; bench/tempo-styles prints their tables.
#include "analysis/tempo_analyzer.h"
#include "point_waveform.h"
#include "style_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace kelvara {
namespace {

using testing::StyleSet;
using testing::StyleTrack;

struct Outcome {
    const StyleTrack* track;
    std::optional<BeatGrid> grid;

    bool rightLevel() const { return grid && std::abs(grid->bpm / track->bpm - 1) <= 0.005; }
    double originError() const { return grid->origin - track->start; }
};

std::vector<Outcome> analyseAll(const std::vector<StyleTrack>& tracks) {
    std::vector<Outcome> outcomes;
    for (const StyleTrack& track : tracks) {
        const testing::SyntheticAudio audio = track.render();
        outcomes.push_back({&track, TempoAnalyzer::analyze(testing::pointWaveform(audio.samples(), audio.sampleRate()),
                                                           [] { return false; })});
    }
    return outcomes;
}

void printTable(const char* title, const std::vector<Outcome>& outcomes) {
    std::printf("%s\n%-24s %8s %9s %10s\n", title, "track", "true", "detected", "origin ms");
    for (const Outcome& o : outcomes) {
        std::printf("%-24s %8.2f ", o.track->name().c_str(), o.track->bpm);
        if (o.grid) {
            std::printf("%9.2f %10.1f%s\n", o.grid->bpm, 1000 * o.originError(), o.rightLevel() ? "" : "  wrong level");
        } else {
            std::printf("%9s\n", "none");
        }
    }
}

// Tracks at the right level (±0.5 %), and of those the ones with the tempo within 0.05 BPM
// and the origin within 10 ms of the first downbeat.
struct Reached {
    std::size_t level = 0;
    std::size_t tempo = 0;
    std::size_t origin = 0;
};

Reached analyseAndReport(const char* title, const std::vector<StyleTrack>& tracks) {
    const std::vector<Outcome> outcomes = analyseAll(tracks);
    printTable(title, outcomes);
    Reached reached;
    for (const Outcome& o : outcomes) {
        if (o.rightLevel()) {
            ++reached.level;
            reached.tempo += std::abs(o.grid->bpm - o.track->bpm) <= 0.05 ? 1 : 0;
            reached.origin += std::abs(o.originError()) <= 0.010 ? 1 : 0;
        }
    }
    std::printf("of %zu: right level %zu, tempo %zu, origin %zu\n\n", outcomes.size(), reached.level, reached.tempo,
                reached.origin);
    return reached;
}

void expectAtLeast(const Reached& reached, const Reached& floor) {
    EXPECT_GE(reached.level, floor.level);
    EXPECT_GE(reached.tempo, floor.tempo);
    EXPECT_GE(reached.origin, floor.origin);
}

class TempoStyleSetTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef NDEBUG
        GTEST_SKIP() << "runs in the optimised build only";
#endif
    }
};

// The aim is the right level on 90 % of each half (41 of 45 tracks). Half-time grooves and
// their half tempo share a rhythm (trap at 140 and a ballad at 70 differ in no onset), so the
// floors below record what the analyzer reaches, and no change may fall behind them.
TEST_F(TempoStyleSetTest, TuningHalf) {
    expectAtLeast(analyseAndReport("Tuning half", StyleSet::tuningHalf()), {.level = 29, .tempo = 29, .origin = 22});
}

TEST_F(TempoStyleSetTest, HeldOutHalf) {
    expectAtLeast(analyseAndReport("Held-out half", StyleSet::heldOutHalf()), {.level = 32, .tempo = 32, .origin = 28});
}

}  // namespace
}  // namespace kelvara
