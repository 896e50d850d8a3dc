// SPDX-License-Identifier: GPL-3.0-or-later
// Files damaged the way transfers, disks and hostile testers damage them: each gets a clear
// answer in the program's own words, never a hang and never a shifted waveform.
#include "analysis/analysis_job.h"
#include "analysis/audio_decoder.h"
#include "analysis/waveform_analyzer.h"
#include "audio_files.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/track_resolver.h"
#include "test_home.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <sys/stat.h>

namespace kelvara {
namespace {

using testing::AudioFiles;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QString written(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

void putLittleEndian(QByteArray& bytes, qsizetype at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
}

// The text of the WaveformError that `analysis` throws; empty when it throws none.
template <typename Analysis>
QString errorOf(Analysis analysis) {
    try {
        analysis();
    } catch (const WaveformError& error) {
        return error.text();
    }
    return {};
}

// The time of the loudest point of the record.
double loudestAt(const Waveform& waveform) {
    const auto loudest = std::max_element(waveform.peaks.begin(), waveform.peaks.end()) - waveform.peaks.begin();
    return static_cast<double>(loudest) * waveform.duration / static_cast<double>(waveform.peaks.size());
}

class HostileInputTest : public ::testing::Test {
protected:
    static Waveform analyze(const QString& path) { return WaveformAnalyzer::analyze(path, {}, {}); }

    testing::TestHome home;
    AudioFiles files;
    const QString unavailable = L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.");
    const QString incomplete = L("Аудиофайл прочитан не полностью; результат не сохранён.");
    const QString damaged = L("Не удалось прочитать аудио: файл повреждён или его формат не поддерживается.");
};

// Opening a FIFO for reading would wait for a writer for ever.
TEST_F(HostileInputTest, SpecialFilesAreRefusedWithoutOpeningThem) {
    const QString fifo = files.path(QStringLiteral("track.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(errorOf([&] { TrackResolver::resolve(fifo); }), unavailable);
    EXPECT_EQ(errorOf([&] { AudioDecoder decoder(fifo); }), unavailable);
    EXPECT_EQ(errorOf([&] { AudioDecoder decoder(QStringLiteral("/dev/zero")); }), unavailable);
    EXPECT_EQ(errorOf([&] { AudioDecoder decoder(files.folder()); }), unavailable);

    const AnalysisOutcome outcome = AnalysisJob(WaveformCache(files.path(QStringLiteral("cache")))).run(fifo);
    EXPECT_EQ(outcome.kind, AnalysisOutcome::Kind::failed);
    EXPECT_EQ(outcome.error, unavailable);
}

// 16-bit PCM WAV: channels at byte 22, rate at 24, bytes per second at 28, block size at 32.
TEST_F(HostileInputTest, ImplausibleHeadersAreRejectedInOurWords) {
    const QByteArray healthy = bytesOf(files.tone(QStringLiteral("tone.wav"), 0.5, 44'100, 8));
    const auto withHeader = [&](std::uint32_t rate, std::uint32_t channels) {
        QByteArray bytes = healthy;
        putLittleEndian(bytes, 22, channels, 2);
        putLittleEndian(bytes, 24, rate, 4);
        putLittleEndian(bytes, 28, rate * channels * 2, 4);
        putLittleEndian(bytes, 32, channels * 2, 2);
        return written(files.path(QStringLiteral("%1-%2.wav").arg(rate).arg(channels)), bytes);
    };
    const auto implausible = [](int rate, int channels) {
        return L("Заголовок файла неправдоподобен ({0} Гц, каналов: {1}); файл, вероятно, повреждён.", rate, channels);
    };
    EXPECT_EQ(errorOf([&] { analyze(withHeader(1, 2)); }), implausible(1, 2));
    EXPECT_EQ(errorOf([&] { analyze(withHeader(7'999, 2)); }), implausible(7'999, 2));
    EXPECT_EQ(errorOf([&] { analyze(withHeader(768'001, 2)); }), implausible(768'001, 2));
    EXPECT_EQ(errorOf([&] { analyze(withHeader(44'100, 64)); }), implausible(44'100, 64));

    EXPECT_EQ(errorOf([&] { analyze(withHeader(8'000, 8)); }), QString());
    EXPECT_EQ(errorOf([&] { analyze(withHeader(768'000, 1)); }), QString());
}

// The first audio page of an Ogg Opus file (the third page) made unreadable: FFmpeg drops it,
// and the audio after it must stay where the player plays it.
TEST_F(HostileInputTest, ADroppedFirstOpusPageShiftsNothing) {
    // Silence with one loud burst at 3 s.
    const QString burst = files.path(QStringLiteral("click.wav"));
    AudioFiles::run(QStringLiteral("sox"), {"-R", "-n", "-r", "48000", "-c", "1", "-b", "16", burst, "synth", "0.05",
                                            "whitenoise", "pad", "3", "2.95"});
    const QString healthy = files.encode(burst, QStringLiteral("healthy.opus"), {"-c:a", "libopus"});
    QByteArray bytes = bytesOf(healthy);
    const qsizetype thirdPage = bytes.indexOf("OggS", bytes.indexOf("OggS", bytes.indexOf("OggS") + 4) + 4);
    ASSERT_GT(thirdPage, 0);
    bytes[thirdPage + 60] = static_cast<char>(bytes[thirdPage + 60] ^ 0xFF);
    const QString damagedFile = written(files.path(QStringLiteral("damaged.opus")), bytes);

    const Waveform reference = analyze(healthy);
    const Waveform survivor = analyze(damagedFile);
    EXPECT_DOUBLE_EQ(survivor.duration, reference.duration);
    EXPECT_NEAR(loudestAt(reference), 3.0, 0.01);
    EXPECT_NEAR(loudestAt(survivor), loudestAt(reference), 0.001);
}

// A FLAC file whose header declares half of the samples it holds (as when frames were
// appended to it): audio running on past the declared end is as damaged as audio ending early.
TEST_F(HostileInputTest, AudioLongerThanDeclaredIsAsIncompleteAsShorter) {
    const QString source = files.tone(QStringLiteral("tone.wav"), 4.0, 44'100, 2);
    QByteArray bytes = bytesOf(files.encode(source, QStringLiteral("tone.flac")));
    // The 36-bit sample count of STREAMINFO ends the 18 bytes from file offset 8.
    constexpr qsizetype countEnd = 8 + 18;
    std::uint64_t count = static_cast<std::uint64_t>(bytes[countEnd - 5] & 0x0F);
    for (qsizetype at = countEnd - 4; at < countEnd; ++at) {
        count = (count << 8) | static_cast<unsigned char>(bytes[at]);
    }
    ASSERT_EQ(count, 4u * 44'100u);
    count /= 2;
    for (qsizetype at = countEnd - 1; at >= countEnd - 4; --at, count >>= 8) {
        bytes[at] = static_cast<char>(count & 0xFFu);
    }
    const QString file = written(files.path(QStringLiteral("half.flac")), bytes);
    EXPECT_EQ(errorOf([&] { analyze(file); }), incomplete);
}

// FFmpeg's "Invalid data found when processing input" goes to the log only.
TEST_F(HostileInputTest, DecoderFailuresSpeakOurWords) {
    const QString junk = written(files.path(QStringLiteral("junk.mp3")), QByteArray(4'096, '\x5A'));
    EXPECT_EQ(errorOf([&] { analyze(junk); }), damaged);
}

}  // namespace
}  // namespace kelvara
