// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kelvara {

// What the decoder delivers: 32-bit float, one buffer per channel, at the decoder's output
// rate (Opus always comes out at 48 kHz), and how many frames the file declares.
struct AudioFormat {
    // What a sound file may plausibly hold; anything outside is a damaged header.
    static constexpr int lowestSampleRate = 8'000;
    static constexpr int highestSampleRate = 768'000;
    static constexpr int mostChannels = 8;

    int sampleRate = 0;
    int channels = 0;
    // The container's length after the encoder delay and priming that FFmpeg trims; an exact
    // packet count where the container only estimates it.
    std::int64_t declaredFrames = 0;
    // Plain PCM, which costs next to nothing to decode.
    bool pcm = false;
};

// Decodes one audio file with FFmpeg into blocks of float samples. Opening reads the header
// and the declared length; decode() then runs through the file once.
class AudioDecoder {
public:
    static constexpr std::int64_t blockFrames = 16'384;

    // Throws WaveformError: "file unavailable" when it is not a readable regular file,
    // "damaged or unsupported" when FFmpeg cannot read it (FFmpeg's words go to the log),
    // "cannot decode" when it holds no decodable audio or declares no frames, "implausible
    // header" for a sample rate outside 8…768 kHz or more than 8 channels, and "incomplete"
    // when the container shows that the file was cut short.
    explicit AudioDecoder(const QString& path);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    const AudioFormat& format() const { return format_; }

    // Pushes the file's audio into `sink` in blocks of blockFrames (the last one shorter),
    // never past the declared length. Returns the number of frames delivered; stops early,
    // without error, when the sink asks to. Throws WaveformError "incomplete" when the audio
    // ends more than the codec's tolerance before the declared length, and "damaged or
    // unsupported" when reading or decoding fails for another reason than damaged data.
    std::int64_t decode(AudioBlockSink& sink);

private:
    struct Stream;

    std::unique_ptr<Stream> stream_;
    AudioFormat format_;
};

}  // namespace kelvara
