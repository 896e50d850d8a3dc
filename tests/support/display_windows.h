// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct xcb_connection_t;

namespace kelvara::testing {

// The titles of the top-level windows a process shows on the X server in DISPLAY (with no
// window manager running they are the root window's children).
class DisplayWindows {
public:
    DisplayWindows();
    ~DisplayWindows();
    DisplayWindows(const DisplayWindows&) = delete;
    DisplayWindows& operator=(const DisplayWindows&) = delete;

    QStringList titlesOf(qint64 pid);

private:
    xcb_connection_t* connection_;
};

}  // namespace kelvara::testing
