// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/split_reading.h"

#include "analysis/audio_decoder.h"
#include "analysis/progress_report.h"
#include "analysis/waveform_accumulator.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "audio_files.h"
#include "models/cancellation.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <tuple>

using kelvara::AudioBlock;
using kelvara::AudioDecoder;
using kelvara::ProgressReport;
using kelvara::SplitReading;
using kelvara::Waveform;
using kelvara::WaveformAccumulator;
using kelvara::testing::AudioFiles;

namespace {

class SplitReadingTest : public ::testing::Test {
protected:
    // The record of `path` read in two halves, and where they met.
    static std::pair<Waveform, std::optional<std::int64_t>> split(const QString& path,
                                                                  const std::function<void(double)>& progress = {}) {
        const AudioDecoder decoder(path);
        const kelvara::AudioFormat& format = decoder.format();
        WaveformAccumulator accumulator(format.channels, format.sampleRate, format.declaredFrames);
        ProgressReport report(progress, format.declaredFrames);
        const auto met = SplitReading::add(decoder, accumulator, {}, report);
        return {accumulator.finish(duration(format)), met};
    }

    // The record of `path` read from start to end on this thread.
    static Waveform whole(const QString& path) {
        AudioDecoder decoder(path);
        const kelvara::AudioFormat& format = decoder.format();
        WaveformAccumulator accumulator(format.channels, format.sampleRate, format.declaredFrames);
        Adding adding(accumulator);
        decoder.decode(adding);
        return accumulator.finish(duration(format));
    }

    static void expectSame(const Waveform& a, const Waveform& b, const QString& file) {
        EXPECT_TRUE(std::tie(a.duration, a.peaks, a.rms, a.low, a.mid, a.high) ==
                    std::tie(b.duration, b.peaks, b.rms, b.low, b.mid, b.high))
            << qPrintable(file);
    }

    kelvara::testing::TestHome home;
    AudioFiles files;

private:
    struct Adding : kelvara::AudioBlockSink {
        explicit Adding(WaveformAccumulator& accumulator) : accumulator(accumulator) {}
        bool consume(AudioBlock& block) override {
            accumulator.addBlock(block, {});
            return true;
        }
        WaveformAccumulator& accumulator;
    };

    static double duration(const kelvara::AudioFormat& format) {
        return static_cast<double>(format.declaredFrames) / format.sampleRate;
    }
};

// Music meets within a few blocks of the middle, whatever the encoding and the number of
// channels (pairs share a vector, an odd one runs alone), and the record is the same to the
// bit as one read from start to end: points wholly behind the meeting come from the first
// half, the one it falls into is finished by the first half, the rest come from the second.
TEST_F(SplitReadingTest, HalvesMeetNearTheMiddleAndChangeNoBit) {
    const std::vector<std::pair<QString, QStringList>> kinds = {
        {QStringLiteral("stereo16.wav"), {"-r", "44100", "-c", "2", "-b", "16"}},
        {QStringLiteral("three24.wav"), {"-r", "48000", "-c", "3", "-b", "24"}},
        {QStringLiteral("mono16.aiff"), {"-r", "22050", "-c", "1", "-b", "16"}},
    };
    for (const auto& [name, format] : kinds) {
        const QString file =
            files.synthesize(name, format, {"synth", "31", "pinknoise", "synth", "31", "sine", "mix", "55", "gain", "-6", "fade", "0", "31", "2"});
        const auto [record, met] = split(file);
        const std::int64_t frames = AudioDecoder(file).format().declaredFrames;
        ASSERT_TRUE(met.has_value()) << qPrintable(name);
        EXPECT_GE(*met, frames / 2 - kelvara::AudioFormat::blockFrames) << qPrintable(name);
        EXPECT_LT(*met, frames / 2 + 8 * kelvara::AudioFormat::blockFrames) << qPrintable(name);
        expectSame(record, whole(file), name);
    }
}

// A steady DC level keeps the two filter memories a rounding apart for good: the first half
// then reads the whole file, and the record is still the whole one.
TEST_F(SplitReadingTest, MemoriesThatNeverMeetLeaveTheWholeFileToTheFirstHalf) {
    const QString file = files.floatWav(QStringLiteral("dc.wav"), 44'100, 2, std::vector<float>(2 * 44'100 * 12, 0.5f));
    const auto [record, met] = split(file);
    EXPECT_FALSE(met.has_value());
    expectSame(record, whole(file), file);
}

// Progress counts both halves, on the calling thread, and never says 1.0: only the
// analysis as a whole is done at the end.
TEST_F(SplitReadingTest, ProgressCountsBothHalves) {
    const QString file = files.synthesize(QStringLiteral("progress.wav"), {"-r", "44100", "-c", "2", "-b", "16"},
                                          {"synth", "20", "pinknoise"});
    std::vector<double> reports;
    split(file, [&](double fraction) { reports.push_back(fraction); });
    ASSERT_GE(reports.size(), 10u);
    EXPECT_GE(reports.back(), 0.5);
    EXPECT_LT(reports.back(), 1.0);
    for (std::size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i] - reports[i - 1], ProgressReport::step);
    }
}

// A file cut short while its halves are read ends in the reader's own verdict, whichever
// half meets the cut, and never in a record.
TEST_F(SplitReadingTest, AFileCutWhileReadEndsInTheIncompleteVerdict) {
    const QString file = files.synthesize(QStringLiteral("cut.wav"), {"-r", "44100", "-c", "2", "-b", "16"},
                                          {"synth", "30", "pinknoise"});
    bool cut = false;
    try {
        split(file, [&](double fraction) {
            if (!cut && fraction > 0.2) {
                cut = QFile::resize(file, QFileInfo(file).size() * 2 / 5);
            }
        });
        ADD_FAILURE() << "a cut file gave a record";
    } catch (const kelvara::WaveformError& error) {
        EXPECT_EQ(error.text(), kelvara::L("Аудиофайл прочитан не полностью; результат не сохранён."));
    }
    EXPECT_TRUE(cut);
}

// Cancelling stops both halves: the call ends with CancellationError, the second half's
// thread joined, and nothing waits for it to read its part.
TEST_F(SplitReadingTest, CancellationEndsBothHalves) {
    const QString file = files.synthesize(QStringLiteral("cancel.wav"), {"-r", "44100", "-c", "2", "-b", "16"},
                                          {"synth", "20", "pinknoise"});
    const AudioDecoder decoder(file);
    const kelvara::AudioFormat& format = decoder.format();
    WaveformAccumulator accumulator(format.channels, format.sampleRate, format.declaredFrames);
    ProgressReport report({}, format.declaredFrames);
    int asked = 0;
    EXPECT_THROW(SplitReading::add(decoder, accumulator, [&] { return ++asked > 10; }, report),
                 kelvara::CancellationError);
}

}  // namespace
