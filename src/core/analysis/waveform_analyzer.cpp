// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_analyzer.h"

#include "analysis/audio_decoder.h"
#include "analysis/decoding_thread.h"
#include "analysis/progress_report.h"
#include "analysis/split_reading.h"
#include "analysis/tempo_analyzer.h"
#include "analysis/waveform_accumulator.h"
#include "i18n/l.h"
#include "models/waveform_error.h"


namespace kelvara {

namespace {

// Adds each block to the totals as the decoder hands it over, on the decoder's thread, which
// is the caller's.
class AddingSink : public AudioBlockSink {
public:
    AddingSink(WaveformAccumulator& accumulator, const CancelCheck& cancelled, ProgressReport& report)
        : accumulator_(accumulator), cancelled_(cancelled), report_(report) {}

    bool consume(AudioBlock& block) override {
        throwIfCancelled(cancelled_);
        accumulator_.addBlock(block, cancelled_);
        report_.advance(block.frames());
        return true;
    }

private:
    WaveformAccumulator& accumulator_;
    const CancelCheck& cancelled_;
    ProgressReport& report_;
};

// Decoding runs on a thread of its own; filtering and summing on the caller's. Filtering on a
// third thread would lose more than it gains: each block's filtered samples, four times its
// size, would cross between cores twice.
void addWithDecodingThread(AudioDecoder& decoder, WaveformAccumulator& accumulator, const CancelCheck& cancelled,
                           ProgressReport& report) {
    DecodingThread decoding(decoder);
    // Read to the decoder's end, not to the declared length: only there does it know
    // whether the audio ended where the file says.
    while (const AudioBlock* block = decoding.next()) {
        throwIfCancelled(cancelled);
        accumulator.addBlock(*block, cancelled);
        report.advance(block->frames());
    }
}

}  // namespace

Waveform WaveformAnalyzer::analyze(const QString& path, const CancelCheck& cancelled,
                                   const std::function<void(double)>& progress, AnalysisThreads threads) {
    AudioDecoder decoder(path);
    const AudioFormat format = decoder.format();
    WaveformAccumulator accumulator(format.channels, format.sampleRate, format.declaredFrames);
    ProgressReport report(progress, format.declaredFrames);
    if (threads == AnalysisThreads::spread && SplitReading::worthIt(decoder)) {
        SplitReading::add(decoder, accumulator, cancelled, report);
    } else if (threads == AnalysisThreads::spread) {
        addWithDecodingThread(decoder, accumulator, cancelled, report);
    } else {
        AddingSink sink(accumulator, cancelled, report);
        decoder.decode(sink);
    }
    report.report(1.0);

    const double duration = static_cast<double>(format.declaredFrames) / format.sampleRate;
    Waveform waveform = accumulator.finish(duration);
    waveform.beatGrid = TempoAnalyzer::analyze(waveform, cancelled);
    if (!waveform.valid()) {
        throw WaveformError::unavailable(
            L("Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет неподдерживаемый формат."));
    }
    return waveform;
}

}  // namespace kelvara
