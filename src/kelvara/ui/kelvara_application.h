// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// The window program: the application object in the dark scheme, the one AppState and the
// window. The language of the run must be fixed before it starts.
class KelvaraApplication {
public:
    static int run(int argc, char* argv[]);
};

}  // namespace kelvara
