// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace kelvara {

// Files the program ships beside its executables, found from the running executable so that
// an installed tree (<prefix>/bin/kelvara → <prefix>/share/kelvara/…) and the build tree
// (which copies them to <build>/share/kelvara/…) both work. Needs a QCoreApplication.
class ResourcePaths {
public:
    // The folder that holds share/kelvara: the nearest of the executable's folder and its
    // parents (a build tree places executables a few levels down). None when not found.
    static std::optional<QString> root();

    // <root>/share/kelvara/vocals: the separation worker and its runtime descriptor.
    static std::optional<QString> vocals();

    // The program whose "--decode" command decodes audio the way the waveform does:
    // kelvara-analyze, installed beside the executable or built in the tree's tools folder.
    static std::optional<QString> decoder();
};

}  // namespace kelvara
