// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// The visible part of the track: a start fraction and a magnification. Every operation keeps
// 1 ≤ zoom ≤ 64 and 0 ≤ start ≤ 1 − 1/zoom, so the window never leaves the track.
struct WaveformViewport {
    static constexpr double maximumZoom = 64;

    double start = 0;  // track fraction at the left edge
    double zoom = 1;

    bool operator==(const WaveformViewport&) const = default;

    // Visible fraction of the track.
    double length() const { return 1.0 / zoom; }
    double rangeLower() const { return start; }
    double rangeUpper() const { return start + length(); }

    // The track fraction shown at screen fraction x (clamped to 0…1).
    double fraction(double x) const;

    // Zooms by `factor` keeping the track point under `anchor` (a screen fraction) in place
    // where the limits allow. Non-finite or non-positive factors and non-finite anchors are ignored.
    void magnify(double factor, double anchor);

    // Moves the window by `delta` visible lengths; a non-finite delta is ignored.
    void pan(double delta);
};

}  // namespace kelvara
