// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_threads.h"
#include "models/cancellation.h"
#include "models/waveform.h"

#include <QString>

#include <functional>

namespace kelvara {

// Turns one local audio file into its Waveform: decodes it once, block by block (spread: on a
// second thread, a few blocks ahead, or for PCM as two halves at once), sums every point's peak and the squares of the signal
// and its three bands, and finally runs the tempo analyser on the finished record.
class WaveformAnalyzer {
public:
    // `cancelled` is asked before each block and each channel, `progress` gets the fraction
    // of frames decoded in steps of at least 2.5 % and finally 1.0; both are called on the
    // calling thread only. Throws the decoder's WaveformErrors, CancellationError, and never
    // returns a record that is not valid.
    static Waveform analyze(const QString& path, const CancelCheck& cancelled,
                            const std::function<void(double)>& progress,
                            AnalysisThreads threads = AnalysisThreads::spread);
};

}  // namespace kelvara
