// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"

#include <span>

namespace kelvara::testing {

// The waveform record the analyser makes of these mono samples (its points, levels and band
// split, fed block by block as a decoder would), without a grid.
Waveform pointWaveform(std::span<const float> samples, int sampleRate);

}  // namespace kelvara::testing
