// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace kelvara {

// A section of the track that plays in a loop: playback jumps back to `start` on reaching `end`.
struct LoopRegion {
    static constexpr double minimumLength = 0.5;  // seconds

    double start = 0;
    double end = 0;

    bool operator==(const LoopRegion&) const = default;

    // The region between a and b in either order, each clamped to 0…duration; none when an
    // argument is not finite, duration is not positive or the region is shorter than 0.5 s.
    static std::optional<LoopRegion> make(double a, double b, double duration);

    // Whether a loop watcher seeing this position should jump back to the start.
    bool shouldWrap(double position, bool playing) const;
};

}  // namespace kelvara
