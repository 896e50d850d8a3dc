// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/terminal_answer.h"

#include "about/program_version.h"

#include <cstdio>

namespace kelvara {

int answerOnTerminal(const QString& program, bool version, const QString& usage) {
    const QString text = version ? program + QLatin1Char(' ') + programVersion() : usage;
    std::printf("%s\n", text.toUtf8().constData());
    return 0;
}

}  // namespace kelvara
