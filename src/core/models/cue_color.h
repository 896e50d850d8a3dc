// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelvara {

// An opaque colour; argb() has the layout of QRgb, so QColor::fromRgb(color.argb()) works.
struct RgbColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const RgbColor&) const = default;

    std::uint32_t argb() const {
        return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | std::uint32_t{blue};
    }
};

// The cue palette, index clamped to 0…3: mint, orange, cyan, pink (bright tones that read
// well on the dark waveform strip).
RgbColor cueColor(int index);

}  // namespace kelvara
