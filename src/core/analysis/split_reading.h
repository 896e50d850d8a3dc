// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/audio_format.h"
#include "models/cancellation.h"

#include <cstdint>
#include <optional>

namespace kelvara {

class AudioDecoder;
class ProgressReport;
class WaveformAccumulator;

// Reads a PCM file as two halves at once. Where decoding costs next to nothing the band
// filters are the whole work, and they cannot be shared out any other way: each output
// depends on all the audio before it, and the lanes of one vector already run every band of
// two channels. So the second half starts from silent filters on a thread of its own (see
// SecondHalf) while the caller reads the first, and goes on past the middle until its filter
// memory equals the second half's at a block boundary. On music that happens within a few
// blocks; from there the second half's totals are taken as they are, and the record is the
// same to the bit as one read from start to end. Where the memories never meet (a steady
// DC level can keep them apart for good) the caller reads the whole file, as before.
class SplitReading {
public:
    // Files shorter than this are read in one go: the halves would save less than they cost.
    static constexpr std::int64_t shortestSplit = 16 * AudioFormat::blockFrames;

    static bool worthIt(const AudioDecoder& decoder);

    // Adds the whole of `decoder`'s file to `accumulator` as described above. Asks `cancelled`
    // and reports progress on the calling thread only. Returns the frame where the halves
    // met; none when the caller read it all.
    static std::optional<std::int64_t> add(const AudioDecoder& decoder, WaveformAccumulator& accumulator,
                                           const CancelCheck& cancelled, ProgressReport& report);
};

}  // namespace kelvara
