// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

struct LaunchOptions;

// The window program: the application object in the dark scheme, the one AppState, the
// window and its control object on the session bus. A second start in the same session
// raises the first window and ends. The language of the run must be fixed before it starts.
class KelvaraApplication {
public:
    static int run(int argc, char* argv[], const LaunchOptions& options);
};

}  // namespace kelvara
