// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

namespace kelvara {

// Where no X11 display is reachable: nothing is found and nothing moves.
class NullDesktopWindows : public DesktopWindows {
public:
    bool reachable() const override { return false; }
    std::optional<WindowId> findStandardWindow(std::uint32_t) override { return std::nullopt; }
    std::optional<QPoint> topLeft(WindowId) override { return std::nullopt; }
    bool moveTo(WindowId, QPoint) override { return false; }
};

}  // namespace kelvara
