// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/audio_format.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kelvara {

// Decodes any audio file FFmpeg reads, placing the audio by its timestamps on the file's
// own timeline. See AudioDecoder for what it throws.
class FfmpegDecoder {
public:
    explicit FfmpegDecoder(const QString& path);
    ~FfmpegDecoder();
    FfmpegDecoder(const FfmpegDecoder&) = delete;
    FfmpegDecoder& operator=(const FfmpegDecoder&) = delete;

    const AudioFormat& format() const { return format_; }
    std::int64_t decode(AudioBlockSink& sink);

private:
    struct Stream;

    std::unique_ptr<Stream> stream_;
    AudioFormat format_;
};

}  // namespace kelvara
