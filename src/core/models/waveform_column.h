// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// One drawn column of the waveform strip.
struct WaveformColumn {
    float peak = 0;   // largest peak in the column
    float level = 0;  // RMS relative to the track's 95th percentile, capped at 1, to the power 1.25
    float low = 0;    // mean of the squared band values (no square root)
    float mid = 0;
    float high = 0;
};

}  // namespace kelvara
