// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style_track.h"

#include <vector>

namespace kelvara::testing {

// Thirty styles of popular music, each in three arrangements, split once into two halves of
// whole styles: tempo detection is tuned on the first and judged on the second, which it has
// not seen.
class StyleSet {
public:
    static std::vector<StyleTrack> tuningHalf();
    static std::vector<StyleTrack> heldOutHalf();

private:
    static std::vector<StyleTrack> half(std::size_t parity);
};

}  // namespace kelvara::testing
