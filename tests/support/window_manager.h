// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop_helper.h"

#include <memory>

namespace kelvara::testing {

// openbox, started for a test on the X server in DISPLAY. One of the test before may still be
// on its way out: this one replaces it and is ready, holding the screen's WM_S0 selection,
// when construction returns, so that no window of the test is handed to one that no longer
// answers, or mapped before any window manager listens.
class WindowManager {
public:
    WindowManager();

    // Whether it took the screen within a few seconds.
    bool ready() const { return ready_; }

private:
    std::unique_ptr<DesktopHelper> process_;
    bool ready_ = false;
};

}  // namespace kelvara::testing
