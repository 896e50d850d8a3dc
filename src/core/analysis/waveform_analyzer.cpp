// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/waveform_analyzer.h"

#include "analysis/audio_decoder.h"
#include "analysis/decoding_thread.h"
#include "analysis/filtering_thread.h"
#include "analysis/tempo_analyzer.h"
#include "analysis/waveform_accumulator.h"
#include "i18n/l.h"
#include "models/waveform_error.h"

#include <optional>

namespace kelvara {

namespace {

constexpr double progressStep = 0.025;

// Reports the fraction read at most once per progressStep; the first block always reports.
class ProgressReport {
public:
    explicit ProgressReport(const std::function<void(double)>& sink) : sink_(sink) {}

    void advance(double fraction) {
        if (fraction - reported_ >= progressStep) {
            report(fraction);
        }
    }

    void report(double fraction) {
        reported_ = fraction;
        if (sink_) {
            sink_(fraction);
        }
    }

private:
    const std::function<void(double)>& sink_;
    double reported_ = -1;
};

// Takes the decoder's blocks on its own thread and adds each to the totals at once.
class AddingSink : public AudioBlockSink {
public:
    AddingSink(WaveformAccumulator& accumulator, const AudioFormat& format, const CancelCheck& cancelled,
               ProgressReport& report)
        : accumulator_(accumulator), format_(format), cancelled_(cancelled), report_(report) {}

    bool consume(AudioBlock& block) override {
        throwIfCancelled(cancelled_);
        accumulator_.addBlock(block, cancelled_);
        framesRead_ += block.frames();
        report_.advance(static_cast<double>(framesRead_) / static_cast<double>(format_.declaredFrames));
        return true;
    }

private:
    WaveformAccumulator& accumulator_;
    const AudioFormat& format_;
    const CancelCheck& cancelled_;
    ProgressReport& report_;
    std::int64_t framesRead_ = 0;
};

// Decoding runs on a thread of its own. Where it costs next to nothing (PCM), the filters get
// a thread too, a block ahead of the sums.
void addWithHelperThreads(AudioDecoder& decoder, WaveformAccumulator& accumulator, const CancelCheck& cancelled,
                          ProgressReport& report) {
    const AudioFormat& format = decoder.format();
    DecodingThread decoding(decoder);
    std::optional<FilteringThread> filtering;
    if (format.pcm) {
        filtering.emplace(accumulator);
    }
    const FilteredBlock* previous = nullptr;
    std::int64_t framesRead = 0;
    // Read to the decoder's end, not to the declared length: only there does it know
    // whether the audio ended where the file says.
    while (true) {
        throwIfCancelled(cancelled);
        const AudioBlock* block = decoding.next();
        if (!block) {
            break;
        }
        if (filtering) {
            filtering->start(*block);
            if (previous) {
                accumulator.add(*previous, cancelled);
            }
            previous = &filtering->finished();
        } else {
            accumulator.addBlock(*block, cancelled);
        }
        framesRead += block->frames();
        report.advance(static_cast<double>(framesRead) / static_cast<double>(format.declaredFrames));
    }
    if (previous) {
        accumulator.add(*previous, cancelled);
    }
}

}  // namespace

Waveform WaveformAnalyzer::analyze(const QString& path, const CancelCheck& cancelled,
                                   const std::function<void(double)>& progress, AnalysisThreads threads) {
    AudioDecoder decoder(path);
    const AudioFormat format = decoder.format();
    WaveformAccumulator accumulator(format.channels, format.sampleRate, format.declaredFrames);
    ProgressReport report(progress);
    if (threads == AnalysisThreads::spread) {
        addWithHelperThreads(decoder, accumulator, cancelled, report);
    } else {
        AddingSink sink(accumulator, format, cancelled, report);
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
