// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_block.h"
#include "analysis/audio_format.h"
#include "analysis/pcm_layout.h"
#include "storage/regular_file.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kelvara {

// Reads uncompressed WAV and AIFF files without FFmpeg, to the same float samples FFmpeg's
// PCM decoders and converter give (each integer scaled by a power of two, doubles rounded),
// so a record does not depend on which of the two read the file.
class PcmFileReader {
public:
    // The reader of `path` when PcmLayout takes it; none otherwise. Throws WaveformError
    // "file unavailable" when it is not a readable regular file.
    static std::unique_ptr<PcmFileReader> open(const QString& path);

    const AudioFormat& format() const { return format_; }

    // As AudioDecoder::decode, from `firstFrame` on. Throws WaveformError "incomplete" when
    // the file shrinks while it is read. Several threads may decode one reader at once.
    std::int64_t decode(AudioBlockSink& sink, std::int64_t firstFrame = 0) const;

private:
    PcmFileReader(std::unique_ptr<RegularFile> file, const PcmLayout& layout);

    std::unique_ptr<RegularFile> file_;
    PcmLayout layout_;
    AudioFormat format_;
};

}  // namespace kelvara
