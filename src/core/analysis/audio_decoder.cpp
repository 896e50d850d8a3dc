// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_decoder.h"

#include "analysis/ffmpeg_decoder.h"
#include "analysis/pcm_file_reader.h"

#include <stdexcept>

namespace kelvara {

AudioDecoder::AudioDecoder(const QString& path) : pcm_(PcmFileReader::open(path)) {
    if (!pcm_) {
        ffmpeg_ = std::make_unique<FfmpegDecoder>(path);
    }
}

AudioDecoder::~AudioDecoder() = default;

const AudioFormat& AudioDecoder::format() const { return pcm_ ? pcm_->format() : ffmpeg_->format(); }

std::int64_t AudioDecoder::decode(AudioBlockSink& sink) { return pcm_ ? pcm_->decode(sink) : ffmpeg_->decode(sink); }

std::int64_t AudioDecoder::decodeFrom(std::int64_t firstFrame, AudioBlockSink& sink) const {
    if (!pcm_ || firstFrame % blockFrames != 0) {
        throw std::logic_error("AudioDecoder::decodeFrom: not a plain PCM file or not a block boundary");
    }
    return pcm_->decode(sink, firstFrame);
}

}  // namespace kelvara
