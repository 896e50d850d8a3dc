// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cue_color.h"

#include <algorithm>
#include <array>

namespace kelvara {

RgbColor cueColor(int index) {
    static constexpr std::array<RgbColor, 4> palette{{
        {99, 230, 226},  // mint
        {255, 159, 10},  // orange
        {100, 210, 255}, // cyan
        {255, 55, 95},   // pink
    }};
    return palette[static_cast<std::size_t>(std::clamp(index, 0, 3))];
}

}  // namespace kelvara
