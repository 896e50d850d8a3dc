// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/waveform_viewport.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

// The window must stay inside the track: lower bound first, then the upper one.
double clampStart(double start, double length) { return std::min(std::max(start, 0.0), 1.0 - length); }

}  // namespace

double WaveformViewport::fraction(double x) const { return start + std::clamp(x, 0.0, 1.0) * length(); }

void WaveformViewport::magnify(double factor, double anchor) {
    if (!std::isfinite(factor) || factor <= 0 || !std::isfinite(anchor)) {
        return;
    }
    const double a = std::clamp(anchor, 0.0, 1.0);
    const double pointUnderAnchor = start + a / zoom;
    const double newZoom = std::min(std::max(factor * zoom, 1.0), maximumZoom);
    start = clampStart(pointUnderAnchor - a / newZoom, 1.0 / newZoom);
    zoom = newZoom;
}

void WaveformViewport::pan(double delta) {
    if (!std::isfinite(delta)) {
        return;
    }
    start = clampStart(start + delta * length(), length());
}

}  // namespace kelvara
