// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace kelvara::morvik {

// What the command line asks of the installer. Each option counts only as a whole argument;
// others are left to Qt.
struct MorvikOptions {
    bool help = false;     // --help or -h: print the usage and stop, no window
    bool version = false;  // --version: print the version and stop, no window
    bool install = false;  // --install: start installing as the window opens

    // `arguments` without the program name.
    static MorvikOptions parse(const QStringList& arguments);
};

}  // namespace kelvara::morvik
