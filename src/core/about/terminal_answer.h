// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// The answer to --version ("<program> <version>") or else to --help (`usage`), printed on
// standard output before anything graphical starts and without storing anything; the exit status.
int answerOnTerminal(const QString& program, bool version, const QString& usage);

}  // namespace kelvara
