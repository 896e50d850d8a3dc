// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace kelvara {

// A program's arguments without its name, read before any application object exists.
QStringList commandLineArguments(int argc, char* argv[]);

}  // namespace kelvara
