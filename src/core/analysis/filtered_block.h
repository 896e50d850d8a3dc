// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/band_filters.h"

#include <cstdint>
#include <vector>

namespace kelvara {

// One block after the band split: for each channel, each frame's three band values and its
// cleaned sample. Its buffers only grow, so refilling it block after block allocates nothing.
struct FilteredBlock {
    std::int64_t firstFrame = 0;
    std::int64_t frames = 0;
    std::vector<std::vector<BandSample>> channels;
};

}  // namespace kelvara
