// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

namespace kelvara::testing {

// Makes the process that `process` starts receive SIGTERM when the test process ends, so a
// test that crashes or is stopped by its time-out leaves no bus or player behind.
inline void endWithTestProcess(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

}  // namespace kelvara::testing
