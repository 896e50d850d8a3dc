// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_analyzer.h"
#include "audio_files.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <tuple>

using kelvara::CancellationError;
using kelvara::Waveform;
using kelvara::WaveformAnalyzer;
using kelvara::WaveformError;
using kelvara::testing::AudioFiles;

namespace {

class WaveformAnalyzerTest : public ::testing::Test {
protected:
    static Waveform analyze(const QString& path) { return WaveformAnalyzer::analyze(path, {}, {}); }

    kelvara::testing::TestHome home;
    AudioFiles files;
};

TEST_F(WaveformAnalyzerTest, OnePointPerSliceUpTo32768) {
    const Waveform tenSeconds = analyze(files.tone(QStringLiteral("ten.wav"), 10.0));
    EXPECT_EQ(tenSeconds.peaks.size(), 32'768u);
    EXPECT_DOUBLE_EQ(tenSeconds.duration, 10.0);
    EXPECT_TRUE(tenSeconds.valid());

    const Waveform short1000 =
        analyze(files.floatWav(QStringLiteral("short.wav"), 8'000, 1, std::vector<float>(1'000, 0.5f)));
    EXPECT_EQ(short1000.peaks.size(), 1'000u);
    EXPECT_DOUBLE_EQ(short1000.duration, 0.125);
    EXPECT_FLOAT_EQ(short1000.rms[500], 0.5f);
}

// Every channel adds into the same totals: two equal channels give the mono levels.
TEST_F(WaveformAnalyzerTest, StereoLevelsMatchMonoOfTheSameSignal) {
    const Waveform mono = analyze(files.tone(QStringLiteral("mono.flac"), 2.0, 44'100, 1));
    const Waveform stereo = analyze(files.tone(QStringLiteral("stereo.flac"), 2.0, 44'100, 2));
    ASSERT_EQ(mono.rms.size(), stereo.rms.size());
    for (std::size_t i = 0; i < mono.rms.size(); ++i) {
        ASSERT_FLOAT_EQ(mono.rms[i], stereo.rms[i]) << i;
        ASSERT_FLOAT_EQ(mono.mid[i], stereo.mid[i]) << i;
        ASSERT_EQ(mono.peaks[i], stereo.peaks[i]) << i;
    }
    EXPECT_NEAR(mono.rms[20'000], 0.5 / std::sqrt(2.0), 0.02);
}

// Out-of-range and damaged samples never make a record invalid: loud ones are capped at 1,
// unusable ones (NaN, infinity, magnitudes that would overflow the filters) count as silence.
// Fewer frames than 32,768 give one point per frame.
TEST_F(WaveformAnalyzerTest, ClampsLoudSamplesAndSilencesDamagedOnes) {
    std::vector<float> samples(16'000, 0.25f);
    samples[1'000] = 1.5f;
    samples[5'000] = std::numeric_limits<float>::quiet_NaN();
    samples[9'000] = -std::numeric_limits<float>::infinity();
    std::fill_n(samples.begin() + 12'000, 2'000, 1e38f);
    const Waveform waveform = analyze(files.floatWav(QStringLiteral("damaged.wav"), 8'000, 1, samples));

    ASSERT_TRUE(waveform.valid());
    ASSERT_EQ(waveform.peaks.size(), samples.size());
    EXPECT_EQ(waveform.peaks[1'000], 1.0f);
    EXPECT_EQ(waveform.rms[1'000], 1.0f);
    for (const std::size_t silenced : {5'000, 9'000, 12'000, 13'999}) {
        EXPECT_EQ(waveform.peaks[silenced], 0.0f) << silenced;
        EXPECT_EQ(waveform.rms[silenced], 0.0f) << silenced;
    }
    EXPECT_EQ(waveform.peaks[15'000], 0.25f);
    EXPECT_FLOAT_EQ(waveform.rms[15'000], 0.25f);
}

// Whether the decoder has a thread of its own or not, the caller hears from the analysis on
// its own thread only.
TEST_F(WaveformAnalyzerTest, ReportsProgressInSteps) {
    const QString file = files.tone(QStringLiteral("progress.wav"), 3.0, 44'100, 2);
    for (const auto threads : {kelvara::AnalysisThreads::spread, kelvara::AnalysisThreads::one}) {
        const auto caller = std::this_thread::get_id();
        std::vector<double> reports;
        bool foreignThread = false;
        WaveformAnalyzer::analyze(
            file,
            [&] {
                foreignThread = foreignThread || std::this_thread::get_id() != caller;
                return false;
            },
            [&](double fraction) {
                foreignThread = foreignThread || std::this_thread::get_id() != caller;
                reports.push_back(fraction);
            },
            threads);
        EXPECT_FALSE(foreignThread);
        ASSERT_GE(reports.size(), 3u);
        EXPECT_DOUBLE_EQ(reports.front(), 16'384.0 / 132'300.0);
        EXPECT_EQ(reports.back(), 1.0);
        EXPECT_EQ(std::count(reports.begin(), reports.end(), 1.0), 1);
        for (std::size_t i = 1; i + 1 < reports.size(); ++i) {
            EXPECT_GE(reports[i] - reports[i - 1], 0.025);
        }
    }
}

TEST_F(WaveformAnalyzerTest, CancellationStopsEvenDuringTheLastBlock) {
    // 9 blocks of one channel: the test is asked before each block and each channel.
    const QString file = files.tone(QStringLiteral("cancel.wav"), 3.0);
    for (const auto threads : {kelvara::AnalysisThreads::spread, kelvara::AnalysisThreads::one}) {
        bool finished = false;
        const auto progress = [&](double fraction) { finished = finished || fraction == 1.0; };
        EXPECT_THROW(WaveformAnalyzer::analyze(file, [] { return true; }, progress, threads), CancellationError);

        int asked = 0;
        EXPECT_THROW(WaveformAnalyzer::analyze(file, [&] { return ++asked == 18; }, progress, threads),
                     CancellationError);
        EXPECT_EQ(asked, 18);
        EXPECT_FALSE(finished);
    }
}

TEST_F(WaveformAnalyzerTest, CutFileGivesNoRecordAndNoFinalProgress) {
    const QString whole = files.encode(files.tone(QStringLiteral("whole.wav"), 3.0), QStringLiteral("whole.flac"));
    const QString cut = files.truncatedCopy(whole, QStringLiteral("cut.flac"), 0.7);
    std::vector<double> reports;
    try {
        WaveformAnalyzer::analyze(cut, {}, [&](double f) { reports.push_back(f); });
        ADD_FAILURE() << "a cut file was analysed";
    } catch (const WaveformError& error) {
        EXPECT_EQ(error.text(), kelvara::L("Аудиофайл прочитан не полностью; результат не сохранён."));
    }
    EXPECT_TRUE(reports.empty() || reports.back() < 1.0);
}

// Click tracks keep their tempo and their first click through every codec: FFmpeg trims the
// encoder delay of MP3 and AAC, so the grid does not shift.
class ClickTrackTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ClickTrackTest, GridMatchesTheClicks) {
    kelvara::testing::TestHome home;
    AudioFiles files;
    const double bpm = 120;
    const double firstClick = 0.25;
    const QString wav = files.clickTrack(QStringLiteral("clicks.wav"), bpm, 30, firstClick);
    const QString extension = QLatin1String(GetParam());
    const QString file = extension == QLatin1String("wav") ? wav : files.encode(wav, QStringLiteral("clicks.") + extension);

    const Waveform waveform = WaveformAnalyzer::analyze(file, {}, {});
    ASSERT_TRUE(waveform.beatGrid.has_value());
    EXPECT_NEAR(waveform.beatGrid->bpm, bpm, 0.1);
    const double period = 60 / bpm;
    const double offset = std::fmod(waveform.beatGrid->origin - firstClick + 10 * period, period);
    EXPECT_LT(std::min(offset, period - offset), 0.010) << "origin " << waveform.beatGrid->origin;
}

INSTANTIATE_TEST_SUITE_P(Codecs, ClickTrackTest, ::testing::Values("wav", "flac", "mp3", "m4a"));

TEST_F(WaveformAnalyzerTest, SilenceAndASteadyToneHaveNoGrid) {
    const QString silence = files.synthesize(QStringLiteral("silence.wav"), {"-r", "44100", "-c", "2"},
                                             {"trim", "0", "12"});
    const Waveform quiet = analyze(silence);
    EXPECT_TRUE(quiet.valid());
    EXPECT_FALSE(quiet.beatGrid.has_value());
    EXPECT_FALSE(analyze(files.tone(QStringLiteral("tone.wav"), 12.0, 44'100, 1, 1'000)).beatGrid.has_value());
}

}  // namespace

namespace {

// PCM is read as two halves at once; FLAC, which holds the same samples, is decoded on a
// thread of its own; with AnalysisThreads::one either is decoded, filtered and summed on the
// calling thread alone. The records must agree to the bit, for a pair of channels and for an
// odd one.
TEST_F(WaveformAnalyzerTest, HowTheWorkIsSpreadChangesNoBit) {
    using kelvara::AnalysisThreads;
    for (const int channels : {2, 3}) {
        const QString wav = files.synthesize(QStringLiteral("noise%1.wav").arg(channels),
                                             {"-r", "44100", "-c", QString::number(channels), "-b", "16"},
                                             {"synth", "7.3", "pinknoise", "sine", "55", "gain", "-6"});
        const QString flac = files.encode(wav, QStringLiteral("noise%1.flac").arg(channels));
        const Waveform a = analyze(wav);
        for (const auto& [file, threads] : {std::pair{wav, AnalysisThreads::one}, std::pair{flac, AnalysisThreads::spread},
                                            std::pair{flac, AnalysisThreads::one}}) {
            const Waveform b = WaveformAnalyzer::analyze(file, {}, {}, threads);
            EXPECT_TRUE(std::tie(a.duration, a.peaks, a.rms, a.low, a.mid, a.high, a.beatGrid) ==
                        std::tie(b.duration, b.peaks, b.rms, b.low, b.mid, b.high, b.beatGrid))
                << channels << " channels, " << qPrintable(file)
                << (threads == AnalysisThreads::one ? ", one thread" : "");
        }
    }
}

}  // namespace
