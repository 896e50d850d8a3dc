// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/program_version.h"

namespace kelvara {

// KELVARA_VERSION is set for this file alone (src/core/CMakeLists.txt), so a new version
// recompiles one file.
QString programVersion() { return QStringLiteral(KELVARA_VERSION); }

}  // namespace kelvara
