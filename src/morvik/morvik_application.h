// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara::morvik {

struct MorvikOptions;

// The installer program: the application object, the model and its window. Quitting (the
// window's close button, Ctrl+Q, SIGTERM or SIGINT) during an installation cancels it and
// ends the program once the run has ended. The language of the run must be fixed first.
class MorvikApplication {
public:
    static int run(int argc, char* argv[], const MorvikOptions& options);
};

}  // namespace kelvara::morvik
