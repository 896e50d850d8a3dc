// SPDX-License-Identifier: GPL-3.0-or-later
#include "point_waveform.h"

#include "analysis/audio_block.h"
#include "analysis/waveform_accumulator.h"

#include <algorithm>

namespace kelvara::testing {

Waveform pointWaveform(std::span<const float> samples, int sampleRate) {
    constexpr std::int64_t blockFrames = 16'384;
    const auto length = static_cast<std::int64_t>(samples.size());
    WaveformAccumulator accumulator(1, sampleRate, length);
    AudioBlock block(1, blockFrames);
    for (std::int64_t first = 0; first < length; first += blockFrames) {
        const auto frames = std::min(blockFrames, length - first);
        block.restart(first);
        std::ranges::copy(samples.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(frames)),
                          block.freeSpace(0).begin());
        block.grow(frames);
        accumulator.addBlock(block, {});
    }
    return accumulator.finish(static_cast<double>(length) / sampleRate);
}

}  // namespace kelvara::testing
