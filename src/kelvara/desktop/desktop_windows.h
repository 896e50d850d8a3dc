// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

#include <cstdint>
#include <optional>

namespace kelvara {

// Other programs' windows on the desktop, as window linking needs them. Points are frame
// top-left corners in root coordinates. Calls may block for a short, bounded time, so they are
// made off the GUI thread, one at a time.
class DesktopWindows {
public:
    using WindowId = std::uint32_t;

    virtual ~DesktopWindows() = default;

    // Whether other programs' windows can be seen and moved at all.
    virtual bool reachable() const = 0;
    // The topmost normal (or untyped) top-level window of the process larger than 200 × 100.
    virtual std::optional<WindowId> findStandardWindow(std::uint32_t pid) = 0;
    virtual std::optional<QPoint> topLeft(WindowId window) = 0;
    // Asks for the window's frame to be moved; false when the window cannot be moved.
    virtual bool moveTo(WindowId window, QPoint topLeft) = 0;
};
}  // namespace kelvara
