// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// Whether translucent windows will be composited over the desktop. Without a compositor an
// X server shows their transparent parts black, so the window must be opaque instead.
class CompositorProbe {
public:
    // Wayland always composites; under X11 a compositing manager owns _NET_WM_CM_S<screen>;
    // offscreen rendering keeps transparency as it is.
    static bool isCompositing();
};

}  // namespace kelvara
