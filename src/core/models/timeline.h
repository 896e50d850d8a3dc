// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// Play-position arithmetic. Elapsed times come from the uptime clock, never wall-clock time.
struct Timeline {
    // anchor + elapsed while playing (elapsed ≥ 0), else anchor; kept within 0…max(duration, 0).
    static double position(double anchor, double elapsed, bool playing, double duration);

    // The time at point x of a track-wide strip `width` points wide; 0 when the strip has no
    // width or x or duration is not finite.
    static double seek(double x, double width, double duration);
};

}  // namespace kelvara
