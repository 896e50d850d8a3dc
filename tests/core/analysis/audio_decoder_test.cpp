// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_decoder.h"
#include "audio_files.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <cmath>

using kelvara::AudioBlock;
using kelvara::AudioBlockSink;
using kelvara::AudioDecoder;
using kelvara::WaveformError;
using kelvara::testing::AudioFiles;

namespace {

// Checks the block stream as it arrives: consecutive, full blocks except the last, finite
// samples in a sane range.
class CheckingSink : public AudioBlockSink {
public:
    bool consume(AudioBlock& block) override {
        EXPECT_EQ(block.firstFrame(), frames);
        EXPECT_FALSE(lastWasShort) << "only the last block may be short";
        lastWasShort = !block.full();
        for (int c = 0; c < block.channels(); ++c) {
            for (const float sample : block.channel(c)) {
                allSane = allSane && std::isfinite(sample) && std::fabs(sample) < 2.0f;
            }
        }
        frames += block.frames();
        ++blocks;
        return blocks < stopAfter;
    }

    std::int64_t frames = 0;
    int blocks = 0;
    int stopAfter = 1'000'000;
    bool lastWasShort = false;
    bool allSane = true;
};

struct FormatCase {
    const char* name;
    int rate;
    int channels;
    const char* extension;
    QStringList ffmpegOptions;
    int decodedRate;
    bool exactLength;  // the container states the source's length to the frame
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) { return out << c.name; }

const QStringList lame = {QStringLiteral("-c:a"), QStringLiteral("libmp3lame")};

class DecoderFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DecoderFormatTest, OpensDeclaresItsLengthAndDecodesToIt) {
    kelvara::testing::TestHome home;
    AudioFiles files;
    const FormatCase& c = GetParam();
    const double seconds = 2.0;
    const QString source = files.tone(QStringLiteral("source.wav"), seconds, c.rate, c.channels);
    const QString file = files.encode(source, QStringLiteral("file.") + QLatin1String(c.extension), c.ffmpegOptions);

    AudioDecoder decoder(file);
    const auto& format = decoder.format();
    EXPECT_EQ(format.sampleRate, c.decodedRate);
    EXPECT_EQ(format.channels, c.channels);
    const auto sourceFrames = static_cast<std::int64_t>(std::llround(seconds * c.decodedRate));
    if (c.exactLength) {
        EXPECT_EQ(format.declaredFrames, sourceFrames);
    } else {
        // Lossy encoders pad to whole codec frames (and MP3 without a header keeps its delay).
        EXPECT_NEAR(static_cast<double>(format.declaredFrames), static_cast<double>(sourceFrames), 3 * 1152);
    }

    CheckingSink sink;
    const std::int64_t delivered = decoder.decode(sink);
    EXPECT_EQ(delivered, sink.frames);
    EXPECT_TRUE(sink.allSane);
    EXPECT_LE(delivered, format.declaredFrames);
    // Only MP3 (two codec frames) and Vorbis/Opus (one) may end short of the declared length.
    EXPECT_GE(delivered, format.declaredFrames - 2 * 1152);
    if (c.exactLength) {
        EXPECT_EQ(delivered, format.declaredFrames);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryLibraryFormat, DecoderFormatTest,
    ::testing::Values(
        FormatCase{"mp3_cbr_lame_tag", 44'100, 2, "mp3", lame + QStringList{"-b:a", "192k"}, 44'100, false},
        FormatCase{"mp3_vbr", 48'000, 1, "mp3", lame + QStringList{"-q:a", "4"}, 48'000, false},
        FormatCase{"mp3_without_xing", 44'100, 2, "mp3", lame + QStringList{"-write_xing", "0"}, 44'100, false},
        FormatCase{"mp3_mpeg2_22k", 22'050, 1, "mp3", lame + QStringList{"-b:a", "64k"}, 22'050, false},
        FormatCase{"mp3_mpeg25_8k", 8'000, 1, "mp3", lame, 8'000, false},
        FormatCase{"aac_moov_at_end", 44'100, 2, "m4a", {"-c:a", "aac"}, 44'100, true},
        FormatCase{"aac_moov_first", 48'000, 1, "m4a", {"-c:a", "aac", "-movflags", "+faststart"}, 48'000, true},
        FormatCase{"alac", 96'000, 2, "m4a", {"-c:a", "alac"}, 96'000, true},
        FormatCase{"flac_96k", 96'000, 2, "flac", {}, 96'000, true},
        FormatCase{"flac_8k", 8'000, 1, "flac", {}, 8'000, true},
        FormatCase{"vorbis", 44'100, 2, "ogg", {"-c:a", "libvorbis"}, 44'100, false},
        FormatCase{"vorbis_22k", 22'050, 1, "ogg", {"-c:a", "libvorbis"}, 22'050, false},
        FormatCase{"opus", 44'100, 2, "opus", {"-c:a", "libopus"}, 48'000, true},
        FormatCase{"opus_from_16k", 16'000, 1, "opus", {"-c:a", "libopus"}, 48'000, true},
        FormatCase{"wav_16", 44'100, 2, "wav", {"-c:a", "pcm_s16le"}, 44'100, true},
        FormatCase{"wav_24_96k", 96'000, 2, "wav", {"-c:a", "pcm_s24le"}, 96'000, true},
        FormatCase{"wav_float", 48'000, 1, "wav", {"-c:a", "pcm_f32le"}, 48'000, true},
        FormatCase{"wav_8k", 8'000, 1, "wav", {}, 8'000, true},
        FormatCase{"aiff", 44'100, 2, "aiff", {}, 44'100, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Written to a pipe, WAV and FLAC carry no length; the packet count stands in exactly.
TEST(AudioDecoderTest, FilesWrittenToAPipeGetTheirExactLength) {
    AudioFiles files;
    const QString source = files.tone(QStringLiteral("source.wav"), 1.5, 44'100, 2);
    for (const char* format : {"wav", "flac"}) {
        const QString piped = files.path(QStringLiteral("piped.") + QLatin1String(format));
        AudioFiles::run(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("ffmpeg -nostdin -loglevel error -i '%1' -f %2 - > '%3'")
                                                   .arg(source, QLatin1String(format), piped)});
        AudioDecoder decoder(piped);
        EXPECT_EQ(decoder.format().declaredFrames, 66'150) << format;
        CheckingSink sink;
        EXPECT_EQ(decoder.decode(sink), 66'150) << format;
    }
}

TEST(AudioDecoderTest, StopsWhenTheSinkAsks) {
    AudioFiles files;
    AudioDecoder decoder(files.tone(QStringLiteral("long.wav"), 3.0));
    CheckingSink sink;
    sink.stopAfter = 2;
    EXPECT_EQ(decoder.decode(sink), 2 * AudioDecoder::blockFrames);
}

struct CutCase {
    const char* extension;
    QStringList ffmpegOptions;
};

std::ostream& operator<<(std::ostream& out, const CutCase& c) { return out << c.extension; }

class TruncationTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(TruncationTest, CutFilesAreRejectedAsIncomplete) {
    kelvara::testing::TestHome home;
    AudioFiles files;
    const auto& [extension, options] = GetParam();
    const QString source = files.tone(QStringLiteral("source.wav"), 3.0, 44'100, 2);
    const QString whole = files.encode(source, QStringLiteral("whole.") + QLatin1String(extension), options);
    const QString cut = files.truncatedCopy(whole, QStringLiteral("cut.") + QLatin1String(extension), 0.6);
    const QString incomplete = kelvara::L("Аудиофайл прочитан не полностью; результат не сохранён.");
    try {
        AudioDecoder decoder(cut);
        CheckingSink sink;
        decoder.decode(sink);
        ADD_FAILURE() << "a cut ." << extension << " file was accepted";
    } catch (const WaveformError& error) {
        EXPECT_EQ(error.text(), incomplete);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DetectableCuts, TruncationTest,
    ::testing::Values(CutCase{"wav", {}}, CutCase{"flac", {}}, CutCase{"aiff", {}},
                      CutCase{"m4a", {"-c:a", "aac", "-movflags", "+faststart"}},
                      CutCase{"ogg", {"-c:a", "libvorbis"}}, CutCase{"opus", {"-c:a", "libopus"}},
                      CutCase{"mp3", {"-c:a", "libmp3lame"}}),
    [](const auto& info) { return std::string(info.param.extension); });

TEST(AudioDecoderTest, FilesWithoutAudioAreRefused) {
    kelvara::testing::TestHome home;
    AudioFiles files;
    // An MP4 whose index sits at the end loses it when cut: FFmpeg fails, in our words.
    const QString source = files.tone(QStringLiteral("source.wav"), 2.0);
    const QString cutIndex = files.truncatedCopy(files.encode(source, QStringLiteral("a.m4a"), {"-c:a", "aac"}),
                                                 QStringLiteral("cut.m4a"), 0.5);
    const auto failure = [](const QString& path) {
        try {
            AudioDecoder decoder(path);
        } catch (const WaveformError& error) {
            return error.text();
        }
        return QString();
    };
    EXPECT_EQ(failure(cutIndex),
              kelvara::L("Не удалось прочитать аудио: файл повреждён или его формат не поддерживается."));
    EXPECT_EQ(failure(files.path(QStringLiteral("missing.mp3"))),
              kelvara::L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную."));

    // A file with a video stream only decodes nothing.
    const QString video = files.path(QStringLiteral("video.mkv"));
    AudioFiles::run(QStringLiteral("ffmpeg"), {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                                               "color=c=black:s=32x32:d=1", "-c:v", "ffv1", video});
    try {
        AudioDecoder decoder(video);
        ADD_FAILURE() << "a file without audio was opened";
    } catch (const WaveformError& error) {
        EXPECT_EQ(error.text(), kelvara::L("Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет "
                                           "неподдерживаемый формат."));
    }
}

}  // namespace
