// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace kelvara {

class RegularFile;

// Where the samples of an uncompressed WAV or AIFF file lie and how they are stored.
struct PcmLayout {
    enum class Encoding { unsigned8, signed8, signed16, signed24, signed32, float32, float64 };

    Encoding encoding = Encoding::signed16;
    bool bigEndian = false;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t dataOffset = 0;  // the first byte of the first frame
    std::int64_t frames = 0;

    static constexpr int bytesOf(Encoding stored) {
        switch (stored) {
        case Encoding::unsigned8:
        case Encoding::signed8: return 1;
        case Encoding::signed16: return 2;
        case Encoding::signed24: return 3;
        case Encoding::signed32:
        case Encoding::float32: return 4;
        case Encoding::float64: return 8;
        }
        return 0;
    }

    int sampleBytes() const { return bytesOf(encoding); }
    int frameBytes() const { return sampleBytes() * channels; }

    // The layout of `file` when it is a WAV or AIFF file that can be read without a decoder:
    // plain chunks, one of the encodings above, a plausible rate and channel count, and every
    // frame its header declares present. Anything else (compressed, written to a pipe without
    // a length, cut short, damaged) has none and goes to FFmpeg, whose verdicts stand for it.
    static std::optional<PcmLayout> of(const RegularFile& file);
};

}  // namespace kelvara
