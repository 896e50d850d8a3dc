// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/filtering_thread.h"

#include "analysis/decoding_thread.h"
#include "analysis/waveform_accumulator.h"

namespace kelvara {

FilteringThread::FilteringThread(DecodingThread& decoding, WaveformAccumulator& accumulator, std::size_t depth)
    : filtered_(depth, [] { return FilteredBlock(); }),
      worker_([this, &decoding, &accumulator] { run(decoding, accumulator); }) {}

FilteringThread::~FilteringThread() {
    filtered_.abandon();
    worker_.join();
}

void FilteringThread::run(DecodingThread& decoding, WaveformAccumulator& accumulator) {
    std::exception_ptr error;
    try {
        while (const AudioBlock* block = decoding.next()) {
            FilteredBlock* out = filtered_.beginPush();
            if (!out) {
                break;
            }
            accumulator.filter(*block, *out);
            filtered_.endPush();
        }
    } catch (...) {
        error = std::current_exception();
    }
    filtered_.finish(error);
}

}  // namespace kelvara
