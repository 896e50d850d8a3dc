// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/command_line.h"

namespace kelvara {

QStringList commandLineArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }
    return arguments;
}

}  // namespace kelvara
