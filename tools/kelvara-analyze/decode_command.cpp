// SPDX-License-Identifier: GPL-3.0-or-later
#include "decode_command.h"

#include "analysis/audio_decoder.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <bit>
#include <cstdio>
#include <exception>
#include <vector>

namespace kelvara {

namespace {

static_assert(std::endian::native == std::endian::little, "the raw stream is little-endian floats");

// Interleaves each block and writes it out; stops the decoder when the reader has gone.
class InterleavingWriter : public AudioBlockSink {
public:
    bool consume(AudioBlock& block) override {
        const auto frames = static_cast<std::size_t>(block.frames());
        const auto channels = static_cast<std::size_t>(block.channels());
        interleaved_.resize(frames * channels);
        for (std::size_t channel = 0; channel < channels; ++channel) {
            const auto samples = block.channel(static_cast<int>(channel));
            for (std::size_t frame = 0; frame < frames; ++frame) {
                interleaved_[frame * channels + channel] = samples[frame];
            }
        }
        return std::fwrite(interleaved_.data(), sizeof(float), interleaved_.size(), stdout) == interleaved_.size();
    }

private:
    std::vector<float> interleaved_;
};

}  // namespace

int decodeToStandardOutput(const QString& path) {
    try {
        AudioDecoder decoder(path);
        const QJsonObject header{{QStringLiteral("channels"), decoder.format().channels},
                                 {QStringLiteral("sampleRate"), decoder.format().sampleRate}};
        std::fprintf(stdout, "%s\n", QJsonDocument(header).toJson(QJsonDocument::Compact).constData());
        InterleavingWriter writer;
        decoder.decode(writer);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

}  // namespace kelvara
