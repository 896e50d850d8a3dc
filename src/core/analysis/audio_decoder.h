// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/audio_format.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kelvara {

class FfmpegDecoder;
class PcmFileReader;

// Decodes one audio file into blocks of float samples: uncompressed WAV and AIFF directly,
// everything else with FFmpeg. Opening reads the header and the declared length; decode()
// then runs through the file once.
class AudioDecoder {
public:
    static constexpr std::int64_t blockFrames = AudioFormat::blockFrames;

    // Throws WaveformError: "file unavailable" when it is not a readable regular file,
    // "damaged or unsupported" when FFmpeg cannot read it (FFmpeg's words go to the log),
    // "cannot decode" when it holds no decodable audio or declares no frames, "implausible
    // header" for a sample rate outside 8…768 kHz or more than 8 channels, and "incomplete"
    // when the container shows that the file was cut short.
    explicit AudioDecoder(const QString& path);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    const AudioFormat& format() const;

    // Pushes the file's audio into `sink` in blocks of blockFrames (the last one shorter),
    // never past the declared length. Returns the number of frames delivered; stops early,
    // without error, when the sink asks to. Throws WaveformError "incomplete" when the audio
    // ends more than the codec's tolerance before the declared length, and "damaged or
    // unsupported" when reading or decoding fails for another reason than damaged data.
    std::int64_t decode(AudioBlockSink& sink);

    // Whether decodeFrom() may start anywhere: only plain PCM, where a frame's place in the
    // file is known without decoding what comes before it.
    bool readsAnywhere() const { return pcm_ != nullptr; }
    // decode() from `firstFrame`, a multiple of blockFrames, on: the blocks fall where
    // decode()'s do. Only where readsAnywhere(); several threads may call it at once.
    std::int64_t decodeFrom(std::int64_t firstFrame, AudioBlockSink& sink) const;

private:
    std::unique_ptr<PcmFileReader> pcm_;
    std::unique_ptr<FfmpegDecoder> ffmpeg_;  // when the file is not plain PCM
};

}  // namespace kelvara
