// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// The version of this build, as the project declares it ("0.1.0").
QString programVersion();

}  // namespace kelvara
