// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tempo_range.h"
#include "point_waveform.h"
#include "synthetic_audio.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

const TempoRange range60{60};
const TempoRange range100{100};

// 140 BPM clicks from 0.5 s on, the odd beats accented when `accentOdd`, else the even ones.
Waveform accentedClicks(bool accentOdd) {
    testing::SyntheticAudio audio(20, 11'025);
    int beat = 0;
    for (double t = 0.5; t < audio.duration(); t += 60.0 / 140, ++beat) {
        audio.click(t, (beat % 2 == 1) == accentOdd ? 0.8 : 0.15);
    }
    return testing::pointWaveform(audio.samples(), audio.sampleRate());
}

TEST(TempoRangeTest, StoredNamesNameEveryChoiceAndUnknownNamesReadAsAuto) {
    QStringList names;
    for (const TempoRange& choice : TempoRange::choices) {
        names << choice.storedName();
        EXPECT_EQ(TempoRange::fromStoredName(choice.storedName()), choice);
    }
    EXPECT_EQ(names, (QStringList{"auto", "60-120", "70-140", "80-160", "90-180", "100-200"}));
    EXPECT_TRUE(TempoRange::choices.front().isAuto());
    for (const char* unknown : {"", "Auto", "60–120", "50-100", "60-120 "}) {
        EXPECT_TRUE(TempoRange::fromStoredName(QString::fromUtf8(unknown)).isAuto()) << unknown;
    }
}

TEST(TempoRangeTest, DoublesSlowGridsAndLeavesGridsInsideTheRange) {
    const Waveform none;
    const BeatGrid halfTime{87, 1.25, 0.6};
    EXPECT_EQ(TempoRange{}.fold(halfTime, none), halfTime);
    EXPECT_EQ(TempoRange{80}.fold(halfTime, none), halfTime);
    EXPECT_EQ(range100.fold(halfTime, none), (BeatGrid{174, 1.25, 0.6}));
    // Both bounds belong to the range.
    EXPECT_EQ(range100.fold({100, 0, 1}, none).bpm, 100);
    EXPECT_EQ(range100.fold({200, 0, 1}, none).bpm, 200);
    EXPECT_EQ(range60.fold({30, 0, 1}, none).bpm, 60);
    // A grid that is not valid is no grid to fold.
    const BeatGrid broken{20, 0, 1};
    EXPECT_EQ(range60.fold(broken, none), broken);
}

TEST(TempoRangeTest, HalvingKeepsTheBeatsThatCarryTheAccents) {
    const BeatGrid fast{140, 0.5, 0.9};
    const double beat = 60.0 / 140;
    for (const bool accentOdd : {false, true}) {
        const BeatGrid folded = range60.fold(fast, accentedClicks(accentOdd));
        EXPECT_EQ(folded.bpm, 70);
        EXPECT_NEAR(folded.origin, accentOdd ? 0.5 + beat : 0.5, 1e-9) << accentOdd;
        EXPECT_EQ(folded.confidence, 0.9);
    }
    // Halved twice: a quarter of the beats, still on an accent.
    const BeatGrid quarter = range60.fold({280, 0.5, 0.9}, accentedClicks(true));
    EXPECT_EQ(quarter.bpm, 70);
    EXPECT_NEAR(quarter.origin, 0.5 + beat, 1e-9);
    // Without a usable record the origin stays.
    EXPECT_EQ(range60.fold(fast, Waveform{}).origin, 0.5);
}

}  // namespace
}  // namespace kelvara
