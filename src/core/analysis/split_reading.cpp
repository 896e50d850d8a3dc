// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/split_reading.h"

#include "analysis/audio_decoder.h"
#include "analysis/progress_report.h"
#include "analysis/second_half.h"
#include "analysis/waveform_accumulator.h"

#include <limits>

namespace kelvara {

namespace {

// The caller's half: adds blocks from the start of the file and, from the second half's
// first block on, looks at every block boundary whether the two filter memories agree. Once
// they do, it finishes the point it is in and stops.
class FirstHalf : public AudioBlockSink {
public:
    FirstHalf(WaveformAccumulator& accumulator, SecondHalf& second, const CancelCheck& cancelled,
              ProgressReport& report)
        : accumulator_(accumulator), second_(second), cancelled_(cancelled), report_(report) {}

    // The first frame from which the second half's totals hold; none while the halves have
    // not met.
    std::optional<std::int64_t> end() const { return end_; }

    bool consume(AudioBlock& block) override {
        throwIfCancelled(cancelled_);
        if (!end_ && !alone_ && block.firstFrame() >= second_.firstFrame()) {
            compare(block.firstFrame());
        }
        if (end_ && block.firstFrame() >= *end_) {
            return false;
        }
        accumulator_.addBlock(block, cancelled_, end_.value_or(std::numeric_limits<std::int64_t>::max()));
        const std::int64_t secondRead = alone_ ? secondReported_ : second_.framesRead();
        report_.advance(block.frames() + secondRead - secondReported_);
        secondReported_ = secondRead;
        return !end_ || block.firstFrame() + block.frames() < *end_;
    }

private:
    void compare(std::int64_t frame) {
        const std::vector<BandFilters::Memory>* memory = second_.memoryAt(frame);
        if (!memory) {
            // The second half failed; this half reads on and meets the failure itself.
            alone_ = true;
        } else if (*memory == accumulator_.filterMemory()) {
            end_ = endOfPointAt(frame);
            if (!end_) {
                second_.stop();
                alone_ = true;
            }
        }
    }

    // `frame` itself when a point starts there; else where the point it falls into ends, so
    // that this half adds the whole point. None in the last point, which ends with the file.
    std::optional<std::int64_t> endOfPointAt(std::int64_t frame) const {
        const std::int64_t point = accumulator_.pointOf(frame);
        if (accumulator_.firstFrameOf(point) == frame) {
            return frame;
        }
        if (point + 1 == accumulator_.points()) {
            return std::nullopt;
        }
        return accumulator_.firstFrameOf(point + 1);
    }

    WaveformAccumulator& accumulator_;
    SecondHalf& second_;
    const CancelCheck& cancelled_;
    ProgressReport& report_;
    std::optional<std::int64_t> end_;
    bool alone_ = false;
    std::int64_t secondReported_ = 0;
};

}  // namespace

bool SplitReading::worthIt(const AudioDecoder& decoder) {
    return decoder.readsAnywhere() && decoder.format().declaredFrames >= shortestSplit;
}

std::optional<std::int64_t> SplitReading::add(const AudioDecoder& decoder, WaveformAccumulator& accumulator,
                                              const CancelCheck& cancelled, ProgressReport& report) {
    const std::int64_t middle = decoder.format().declaredFrames / 2 / AudioFormat::blockFrames * AudioFormat::blockFrames;
    SecondHalf second(decoder, middle);
    FirstHalf first(accumulator, second, cancelled, report);
    decoder.decodeFrom(0, first);
    if (!first.end()) {
        return std::nullopt;
    }
    accumulator.takePoints(second.totals(), accumulator.pointOf(*first.end()));
    return first.end();
}

}  // namespace kelvara
