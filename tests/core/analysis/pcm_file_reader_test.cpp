// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_decoder.h"
#include "analysis/ffmpeg_decoder.h"
#include "analysis/pcm_file_reader.h"
#include "audio_files.h"
#include "models/waveform_error.h"
#include "test_home.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace kelvara {
namespace {

using testing::AudioFiles;

// Every channel's samples, end to end.
class CollectingSink : public AudioBlockSink {
public:
    bool consume(AudioBlock& block) override {
        channels.resize(static_cast<std::size_t>(block.channels()));
        for (int c = 0; c < block.channels(); ++c) {
            const auto samples = block.channel(c);
            channels[static_cast<std::size_t>(c)].insert(channels[static_cast<std::size_t>(c)].end(), samples.begin(),
                                                         samples.end());
        }
        return true;
    }

    std::vector<std::vector<float>> channels;
};

template <typename Decoder>
CollectingSink decodedBy(Decoder& decoder) {
    CollectingSink sink;
    decoder.decode(sink);
    return sink;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Reads `file` both ways: the same format, every declared frame, the same samples to the bit.
void expectReadAsFfmpegReadsIt(const QString& file, int channels) {
    const auto reader = PcmFileReader::open(file);
    ASSERT_NE(reader, nullptr) << "left to FFmpeg";
    FfmpegDecoder ffmpeg(file);
    EXPECT_EQ(reader->format().sampleRate, ffmpeg.format().sampleRate);
    EXPECT_EQ(reader->format().channels, channels);
    EXPECT_EQ(reader->format().declaredFrames, ffmpeg.format().declaredFrames);

    const CollectingSink ours = decodedBy(*reader);
    const CollectingSink theirs = decodedBy(ffmpeg);
    ASSERT_EQ(ours.channels.size(), static_cast<std::size_t>(channels));
    ASSERT_EQ(theirs.channels.size(), ours.channels.size());
    for (std::size_t channel = 0; channel < ours.channels.size(); ++channel) {
        EXPECT_EQ(static_cast<std::int64_t>(ours.channels[channel].size()), reader->format().declaredFrames);
        EXPECT_TRUE(sameBits(ours.channels[channel], theirs.channels[channel])) << "channel " << channel;
    }
}

struct EncodingCase {
    const char* name;
    const char* extension;
    QStringList command;  // ffmpeg's or sox's, with "OUT" for the file it writes
    int channels;
};

std::ostream& operator<<(std::ostream& out, const EncodingCase& c) { return out << c.name; }

class PcmEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

// Noise that reaches full scale and clips, so every bit of every sample width is exercised,
// written by ffmpeg and by sox, whose headers differ (extensible formats, "fact" and comment
// chunks, a longer "fmt ").
TEST_P(PcmEncodingTest, ReadsToTheSamplesFfmpegGives) {
    testing::TestHome home;
    AudioFiles files;
    const EncodingCase& c = GetParam();
    const QString file = files.path(QStringLiteral("noise.") + QLatin1String(c.extension));
    QStringList arguments = c.command.mid(1);
    arguments.replaceInStrings(QStringLiteral("OUT"), file);
    AudioFiles::run(c.command.first(), arguments);
    expectReadAsFfmpegReadsIt(file, c.channels);
}

QStringList ffmpegNoise(const char* codec, int channels) {
    return {"ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i", "anoisesrc=c=white:a=1:d=1.3:r=44100",
            "-af", "volume=1.5", "-ac", QString::number(channels), "-c:a", QLatin1String(codec), "OUT"};
}

QStringList soxNoise(const QStringList& format, int channels) {
    return QStringList{"sox", "-R", "-V1", "-n"} + format +
           QStringList{"-r", "44100", "-c", QString::number(channels), "OUT", "synth", "1.3", "whitenoise", "vol", "1.5"};
}

INSTANTIATE_TEST_SUITE_P(
    EveryPlainEncoding, PcmEncodingTest,
    ::testing::Values(EncodingCase{"wav_u8", "wav", ffmpegNoise("pcm_u8", 2), 2},
                      EncodingCase{"wav_s16_mono", "wav", ffmpegNoise("pcm_s16le", 1), 1},
                      EncodingCase{"wav_s24", "wav", ffmpegNoise("pcm_s24le", 2), 2},
                      EncodingCase{"wav_s32", "wav", ffmpegNoise("pcm_s32le", 2), 2},
                      EncodingCase{"wav_f32", "wav", ffmpegNoise("pcm_f32le", 2), 2},
                      EncodingCase{"wav_f64", "wav", ffmpegNoise("pcm_f64le", 1), 1},
                      EncodingCase{"wav_extensible_6ch", "wav", ffmpegNoise("pcm_s16le", 6), 6},
                      EncodingCase{"aiff_s8", "aiff", ffmpegNoise("pcm_s8", 1), 1},
                      EncodingCase{"aiff_s16", "aiff", ffmpegNoise("pcm_s16be", 2), 2},
                      EncodingCase{"aiff_s24", "aiff", ffmpegNoise("pcm_s24be", 2), 2},
                      EncodingCase{"aiff_s32", "aiff", ffmpegNoise("pcm_s32be", 3), 3},
                      EncodingCase{"aifc_sowt", "aiff", ffmpegNoise("pcm_s16le", 2), 2},
                      EncodingCase{"aifc_fl32", "aiff", ffmpegNoise("pcm_f32be", 2), 2},
                      EncodingCase{"aifc_fl64", "aiff", ffmpegNoise("pcm_f64be", 1), 1},
                      EncodingCase{"sox_wav_s24_extensible", "wav", soxNoise({"-b", "24"}, 2), 2},
                      EncodingCase{"sox_wav_f32_with_fact", "wav", soxNoise({"-e", "floating-point", "-b", "32"}, 1), 1},
                      EncodingCase{"sox_wav_u8", "wav", soxNoise({"-b", "8"}, 1), 1},
                      EncodingCase{"sox_aiff_with_comment", "aiff", soxNoise({"-b", "24"}, 2), 2}),
    [](const auto& info) { return std::string(info.param.name); });

// What the reader does not take whole stays FFmpeg's, whose verdicts stand for it: a stream
// written to a pipe carries no length, a cut file must be called incomplete, and a
// compressed one needs its codec.
TEST(PcmFileReaderTest, LeavesWhatItCannotTakeWholeToFfmpeg) {
    testing::TestHome home;
    AudioFiles files;
    const QString source = files.tone(QStringLiteral("source.wav"), 1.0, 44'100, 2);
    ASSERT_NE(PcmFileReader::open(source), nullptr);

    const QString piped = files.path(QStringLiteral("piped.wav"));
    AudioFiles::run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("ffmpeg -nostdin -loglevel error -i '%1' "
                                                                                "-f wav - > '%2'")
                                                                     .arg(source, piped)});
    const QStringList leftToFfmpeg = {
        piped,
        files.truncatedCopy(source, QStringLiteral("cut.wav"), 0.5),
        files.encode(source, QStringLiteral("mulaw.wav"), {"-c:a", "pcm_mulaw"}),
        files.encode(source, QStringLiteral("adpcm.wav"), {"-c:a", "adpcm_ms"}),
        files.encode(source, QStringLiteral("flac.flac")),
    };
    for (const QString& file : leftToFfmpeg) {
        EXPECT_EQ(PcmFileReader::open(file), nullptr) << file.toStdString();
    }
    AudioDecoder mulaw(leftToFfmpeg[2]);
    EXPECT_EQ(decodedBy(mulaw).channels[0].size(), 44'100u);
}

// Random damage to the headers of healthy files: each either reads whole or ends in our
// error, never in a crash, a hang or a read past the data.
TEST(PcmFileReaderTest, DamagedHeadersEndInAnErrorOrAWholeRead) {
    testing::TestHome home;
    AudioFiles files;
    const QString source = files.tone(QStringLiteral("source.wav"), 0.2, 8'000, 2);
    std::mt19937 random(20'261'209);
    for (const QString& healthy : {source, files.encode(source, QStringLiteral("healthy.aiff"))}) {
        QFile in(healthy);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        for (int variant = 0; variant < 150; ++variant) {
            QByteArray damaged = bytes;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) {
                damaged[static_cast<qsizetype>(random() % 80)] = static_cast<char>(random());
            }
            const QString path = files.path(QStringLiteral("damaged-%1.%2").arg(variant).arg(QFileInfo(healthy).suffix()));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(damaged);
            out.close();
            try {
                AudioDecoder decoder(path);
                const CollectingSink decoded = decodedBy(decoder);
                for (const auto& channel : decoded.channels) {
                    EXPECT_EQ(static_cast<std::int64_t>(channel.size()), decoder.format().declaredFrames) << variant;
                }
            } catch (const WaveformError&) {
            }
        }
    }
}

}  // namespace
}  // namespace kelvara
