// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tempo_analyzer.h"
#include "analysis/tempo_variant.h"
#include "drum_pattern.h"
#include "point_waveform.h"
#include "style_track.h"
#include "synthetic_audio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kelvara {
namespace {

using testing::DrumPattern;
using testing::StyleTrack;
using testing::SyntheticAudio;

// Long tracks are rendered at a lower rate under the sanitizers, where filtering five minutes
// of audio at 22 kHz takes many seconds; the record still has its 32,768 points.
#if defined(__SANITIZE_ADDRESS__)
constexpr int longTrackRate = 8'000;
#else
constexpr int longTrackRate = 22'050;
#endif
// The origin tests render many short tracks; their rate is lowered under the sanitizers too.
#if defined(__SANITIZE_ADDRESS__)
constexpr int originTrackRate = 11'025;
#else
constexpr int originTrackRate = 22'050;
#endif
constexpr double firstClick = 0.137;  // deliberately off every envelope window edge

const CancelCheck neverCancelled = [] { return false; };

Waveform recordOf(const SyntheticAudio& audio) { return testing::pointWaveform(audio.samples(), audio.sampleRate()); }

std::optional<BeatGrid> analyze(const SyntheticAudio& audio, const TempoVariant& variant = {}) {
    return detectBeatGrid(recordOf(audio), neverCancelled, variant);
}

SyntheticAudio clickTrack(double bpm, double seconds, int sampleRate, bool noiseFloor = false,
                          double first = firstClick) {
    SyntheticAudio audio(seconds, sampleRate);
    for (double t = first; t < seconds; t += 60 / bpm) {
        audio.click(t);
    }
    if (noiseFloor) {
        audio.noise(-50);
    }
    return audio;
}

SyntheticAudio groove(const DrumPattern& pattern, double bpm, double seconds = 30) {
    SyntheticAudio audio(seconds);
    pattern.render(audio, bpm, firstClick);
    return audio;
}

// Signed distance from `time` to the nearest true beat firstBeat + k × interval.
double beatOffset(double time, double firstBeat, double interval) {
    return std::remainder(time - firstBeat, interval);
}

// True when `bpm` is within `tolerance` (a fraction) of `truth`.
bool atTempo(double bpm, double truth, double tolerance = 0.005) { return std::abs(bpm / truth - 1) <= tolerance; }

// Four-on-the-floor kick, open hats on the off-beats and a dotted-eighth stab riff (rim and
// bass), as house tracks often have: kick and hat alone make the half beat periodic, the riff
// repeats every 1.5 beats, so a lag of one and a half beats matches almost as well as the beat.
const DrumPattern houseWithStabs{.kick = "x...x...x...x...",
                                 .openHat = "..x...x...x...x.",
                                 .rim = "x..x..x..x..x..x",
                                 .bass = "x..x..x..x..x..x"};

// A syncopated funk groove: kick and snare off the beat, sixteenth hats.
const DrumPattern funk{.kick = "x.x....x..x.....",
                       .snare = "....x..x.x..x...",
                       .hat = "xxxxxxxxxxxxxxxx",
                       .bass = "x..x..x...x.x..."};

// --- Click tracks --------------------------------------------------------------------------

class ClickTrackTest : public ::testing::TestWithParam<std::tuple<double, double, bool>> {};

TEST_P(ClickTrackTest, FindsTheTempoAndAGridLineOnAClick) {
    const auto [bpm, seconds, noiseFloor] = GetParam();
    const int sampleRate = seconds > 60 ? longTrackRate : 44'100;
    const auto grid = TempoAnalyzer::analyze(recordOf(clickTrack(bpm, seconds, sampleRate, noiseFloor)), neverCancelled);
    ASSERT_TRUE(grid);
    // The beat, or its double or half: nothing in the clicks tells these apart.
    const double level = grid->bpm > 1.4 * bpm ? 2 * bpm : grid->bpm < 0.7 * bpm ? bpm / 2 : bpm;
    EXPECT_NEAR(grid->bpm, level, 0.1);
    EXPECT_LE(std::abs(beatOffset(grid->origin, firstClick, 60 / bpm)), 0.010);
    EXPECT_LE(grid->origin, firstClick + 60 / level);
    // Not flagged as an uncertain grid.
    EXPECT_GE(grid->confidence, 0.35);
}

// The slow tracks over the noise floor have the 90th percentile of their rises in the noise;
// they keep their grid because their clicks count as strong rises.
INSTANTIATE_TEST_SUITE_P(TempoLengthNoise, ClickTrackTest,
                         ::testing::Combine(::testing::Values(70.0, 90.0, 120.0, 128.0, 140.0, 174.0),
                                            ::testing::Values(30.0, 300.0), ::testing::Bool()));

// --- Grooves -------------------------------------------------------------------------------

struct Groove {
    std::string name;
    double bpm;
    DrumPattern pattern;
};

std::ostream& operator<<(std::ostream& out, const Groove& groove) { return out << groove.name; }

class GrooveTest : public ::testing::TestWithParam<Groove> {};

TEST_P(GrooveTest, FindsTheBeatLevelAndItsPhase) {
    const Groove& g = GetParam();
    const auto grid = analyze(groove(g.pattern, g.bpm));
    ASSERT_TRUE(grid);
    EXPECT_TRUE(atTempo(grid->bpm, g.bpm)) << grid->bpm;
    EXPECT_LE(std::abs(beatOffset(grid->origin, firstClick, 60 / g.bpm)), 0.015);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, GrooveTest,
    ::testing::Values(
        Groove{"FourOnTheFloorOpenHats", 124, {.kick = "x...x...x...x...", .openHat = "..x...x...x...x."}},
        Groove{"HouseWithStabs", 124, houseWithStabs},
        Groove{"Techno", 132, {.kick = "x...x...x...x...", .hat = "..x...x...x...x.", .rim = "...x.....x...x..",
                               .bass = "x.x.x.x.x.x.x.x."}},
        Groove{"Disco", 118, {.kick = "x...x...x...x...", .snare = "....x.......x...", .hat = "xxxxxxxxxxxxxxxx",
                              .openHat = "..x...x...x...x.", .bass = "x.x.x.x.x.x.x.x.", .chords = true}},
        Groove{"Rock", 100, {.kick = "x.......x.x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                             .bass = "x.......x.......", .chords = true}},
        Groove{"Pop", 110, {.kick = "x.......x.......", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                            .bass = "x.....x.x.......", .chords = true}},
        Groove{"HipHop", 90, {.kick = "x.....x...x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                              .bass = "x.........x.....", .chords = true}},
        Groove{"Dembow", 96, {.kick = "x...x...x...x...", .snare = "...x..x....x..x.", .hat = "x.x.x.x.x.x.x.x.",
                              .bass = "x.........x.....", .chords = true}},
        Groove{"Ballad", 72, {.kick = "x.......x.......", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                              .bass = "x.......x.......", .chords = true}},
        Groove{"Waltz", 150, {.kick = "x...........", .rim = "....x...x...", .bass = "x...........", .chords = true}},
        Groove{"Funk", 105, funk}),
    [](const ::testing::TestParamInfo<Groove>& info) { return info.param.name; });

// --- Where the grid starts ------------------------------------------------------------------

// The groove (or clicks, for a groove without parts) from `start` to `seconds`.
SyntheticAudio playedFrom(const Groove& g, double start, double seconds) {
    if (g.pattern.kick.empty()) {
        return clickTrack(g.bpm, seconds, originTrackRate, false, start);
    }
    SyntheticAudio audio(seconds, originTrackRate);
    g.pattern.render(audio, g.bpm, start);
    return audio;
}

// After 1–20 s of silence the music starts on a beat; the origin is that beat itself, not the
// grid line before or after it (an onset may sit a hair before its line). Click tracks and
// grooves take turns, each from a seeded random start, half of them over a noise floor.
TEST(TempoAnalyzerTest, TheOriginIsTheFirstBeatWhereverTheMusicStarts) {
    const std::vector<Groove> grooves{
        {"Click", 120, {}},
        {"FourOnTheFloorOpenHats", 124, {.kick = "x...x...x...x...", .openHat = "..x...x...x...x."}},
        {"Rock", 100, {.kick = "x.......x.x.....", .snare = "....x.......x...", .hat = "x.x.x.x.x.x.x.x.",
                       .bass = "x.......x.......", .chords = true}},
        {"Funk", 105, funk},
    };
    std::mt19937 random(13);
    std::uniform_real_distribution<double> starts(1.0, 20.0);
    for (int track = 0; track < 32; ++track) {
        const Groove& g = grooves[static_cast<std::size_t>(track) % grooves.size()];
        const double start = starts(random);
        SyntheticAudio audio = playedFrom(g, start, start + 16);
        if (track % 8 >= 4) {
            audio.noise(-45);  // whose rises may fall on a grid line before the music starts
        }
        const auto grid = analyze(audio);
        ASSERT_TRUE(grid) << g.name << " from " << start << " s";
        EXPECT_TRUE(atTempo(grid->bpm, g.bpm)) << g.name << ": " << grid->bpm;
        EXPECT_NEAR(grid->origin, start, 0.010) << g.name << " from " << start << " s";
    }
}

// --- No rhythm -----------------------------------------------------------------------------

SyntheticAudio steadyTone(std::initializer_list<double> frequencies, double seconds, int sampleRate = 22'050) {
    SyntheticAudio audio(seconds, sampleRate);
    for (const double frequency : frequencies) {
        audio.tone(frequency, 0.5 / static_cast<double>(frequencies.size()));
    }
    return audio;
}

SyntheticAudio steadyNoise(double dbfs) {
    SyntheticAudio audio(30);
    audio.noise(dbfs);
    return audio;
}

TEST(TempoAnalyzerTest, SilenceSteadyTonesAndNoiseHaveNoGrid) {
    const std::vector<std::pair<std::string, SyntheticAudio>> rhythmless{
        {"silence", SyntheticAudio(30)},
        {"50 Hz", steadyTone({50}, 30)},
        {"100 Hz", steadyTone({100}, 30)},
        {"440 Hz", steadyTone({440}, 30)},
        {"5 kHz", steadyTone({5'000}, 30)},
        {"chord", steadyTone({220, 277.18, 329.63}, 30)},
        // Longer tones whose ripple, aliased by the envelope windows, wanders.
        {"50 Hz for two minutes", steadyTone({50}, 120, longTrackRate)},
        {"chord for five minutes", steadyTone({220, 277.18, 329.63}, 300, longTrackRate)},
        {"noise at -50 dB", steadyNoise(-50)},
        {"noise at -30 dB", steadyNoise(-30)},
    };
    for (const auto& [name, audio] : rhythmless) {
        EXPECT_FALSE(TempoAnalyzer::analyze(recordOf(audio), neverCancelled)) << name;
    }
}

// Between 135 and 165 BPM every ±0.2 s window holds one click, so the local means stay as
// level as a tone's; the clicks are sparse, which a tone's ripple is not.
TEST(TempoAnalyzerTest, EvenClickTracksAreNotTakenForSteadyTones) {
    for (const double bpm : {150.0, 160.0}) {
        const auto grid = TempoAnalyzer::analyze(recordOf(clickTrack(bpm, 30, 44'100)), neverCancelled);
        ASSERT_TRUE(grid) << bpm;
        EXPECT_NEAR(grid->bpm, bpm, 0.1);
    }
}

TEST(TempoAnalyzerTest, NeedsEightSecondsAndAValidRecord) {
    EXPECT_FALSE(TempoAnalyzer::analyze(recordOf(clickTrack(120, 7.9, 44'100)), neverCancelled));
    const auto eightSeconds = TempoAnalyzer::analyze(recordOf(clickTrack(120, 8.0, 44'100)), neverCancelled);
    ASSERT_TRUE(eightSeconds);
    EXPECT_NEAR(eightSeconds->bpm, 120, 0.1);

    Waveform damaged = recordOf(clickTrack(120, 10, 8'000));
    damaged.low[100] = 1.5f;
    EXPECT_FALSE(TempoAnalyzer::analyze(damaged, neverCancelled));
}

TEST(TempoAnalyzerTest, CancellingDuringTheAutocorrelationThrows) {
    const Waveform record = recordOf(clickTrack(120, 30, 8'000));
    ASSERT_TRUE(TempoAnalyzer::analyze(record, neverCancelled));

    // 30 s at 200 envelope samples per second: 6 polls while the envelope is built, then one
    // per lag; the 50th poll falls well inside the ~700 lags.
    int polls = 0;
    const CancelCheck cancelLate = [&] { return ++polls >= 50; };
    EXPECT_THROW(TempoAnalyzer::analyze(record, cancelLate), CancellationError);
    EXPECT_EQ(polls, 50);
}

// --- What each refinement of the detector prevents -----------------------------------------

// The earlier form of one step finds `earlierBpm` in the audio, the detector as it is `bpm`.
void expectLevels(const SyntheticAudio& audio, const TempoVariant& earlier, double earlierBpm, double bpm) {
    const auto before = analyze(audio, earlier);
    ASSERT_TRUE(before);
    EXPECT_TRUE(atTempo(before->bpm, earlierBpm)) << before->bpm;
    const auto now = analyze(audio);
    ASSERT_TRUE(now);
    EXPECT_TRUE(atTempo(now->bpm, bpm)) << now->bpm;
}

TEST(TempoVariantTest, WithoutBarSupportAFourOnTheFloorGrooveLocksToTwoThirds) {
    expectLevels(groove(houseWithStabs, 124), {.barSupport = false}, 124.0 * 2 / 3, 124);
}

TEST(TempoVariantTest, CappedStrengthsLetTheSyncopationWin) {
    expectLevels(groove(funk, 105), {.uncappedStrengths = false}, 105.0 * 4 / 3, 105);
}

// A one-drop at 76 BPM: the kick on three only, the rim on the off-beats, eighth hats. Behind a
// muffled intro its eighths get the bar's support as well as its beat does, though they repeat
// from one pulse to the next only weakly.
TEST(TempoVariantTest, WithoutTheOctaveCheckASlowGrooveReadsAtItsEighths) {
    const DrumPattern oneDrop{.kick = "........x.......",
                              .hat = "x.x.x.x.x.x.x.x.",
                              .rim = "..x...x.x.x...x.",
                              .bass = "..x.....x..x...."};
    const StyleTrack track =
        StyleTrack{.style = "OneDrop", .bpm = 76, .pattern = oneDrop}.arranged(StyleTrack::Arrangement::Intro, 0.4);
    expectLevels(track.render(), {.octaveByPulse = false}, 2 * track.bpm, track.bpm);
}

TEST(TempoVariantTest, WithoutLevelGatesTonesAndFaintNoiseGetGrids) {
    for (const SyntheticAudio& audio : {steadyTone({50}, 30), steadyNoise(-50)}) {
        EXPECT_TRUE(analyze(audio, {.levelGates = false}));
        EXPECT_FALSE(analyze(audio));
    }
}

// On five minutes the envelope windows are 9 ms long, so where an onset is stamped in its
// window shows; and over 350 beats a period error of a hair builds up to a whole tolerance.
TEST(TempoVariantTest, OnLongTracksOnsetsNeedCentredStampsAndNearestGridLines) {
    const Waveform record = recordOf(clickTrack(120, 300, longTrackRate));
    const auto centred = detectBeatGrid(record, neverCancelled, {});
    const auto early = detectBeatGrid(record, neverCancelled, {.centredOnsets = false});
    ASSERT_TRUE(centred && early);
    EXPECT_LE(std::abs(beatOffset(centred->origin, firstClick, 0.5)), 0.002);
    EXPECT_LE(beatOffset(early->origin, firstClick, 0.5), -0.003);

    // Counting each onset against the grid line before it drops every click that comes a
    // hair early, and the grid is lost.
    EXPECT_FALSE(detectBeatGrid(record, neverCancelled, {.nearestBeatNumbers = false}));
}

}  // namespace
}  // namespace kelvara
