// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelvara {

// What a decoder delivers: 32-bit float, one buffer per channel, at the decoder's output rate
// (Opus always comes out at 48 kHz), and how many frames the file declares.
struct AudioFormat {
    // What a sound file may plausibly hold; anything outside is a damaged header.
    static constexpr int lowestSampleRate = 8'000;
    static constexpr int highestSampleRate = 768'000;
    static constexpr int mostChannels = 8;
    // Decoders deliver blocks of this many frames, the last one shorter.
    static constexpr std::int64_t blockFrames = 16'384;

    int sampleRate = 0;
    int channels = 0;
    // The container's length after the encoder delay and priming that FFmpeg trims; an exact
    // packet count where the container only estimates it.
    std::int64_t declaredFrames = 0;

    bool plausible() const {
        return sampleRate >= lowestSampleRate && sampleRate <= highestSampleRate && channels >= 1 &&
               channels <= mostChannels;
    }
};

}  // namespace kelvara
