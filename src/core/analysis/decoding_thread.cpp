// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/decoding_thread.h"

#include "analysis/audio_decoder.h"

namespace kelvara {

DecodingThread::DecodingThread(AudioDecoder& decoder, std::size_t depth)
    : blocks_(depth,
              [channels = decoder.format().channels] { return AudioBlock(channels, AudioDecoder::blockFrames); }),
      worker_([this, &decoder] { run(decoder); }) {}

DecodingThread::~DecodingThread() {
    blocks_.abandon();
    worker_.join();
}

void DecodingThread::run(AudioDecoder& decoder) {
    std::exception_ptr error;
    try {
        decoder.decode(*this);
    } catch (...) {
        error = std::current_exception();
    }
    blocks_.finish(error);
}

// On the decoder's thread: hands the filled block over and gives the decoder an empty one.
bool DecodingThread::consume(AudioBlock& block) {
    AudioBlock* queued = blocks_.beginPush();
    if (!queued) {
        return false;
    }
    queued->swap(block);
    blocks_.endPush();
    return true;
}

}  // namespace kelvara
