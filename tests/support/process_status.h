// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

namespace kelvara::testing {

// What /proc tells of a process that may not be our child (a detached one is adopted by
// whatever reaps orphans here, maybe late, so a zombie counts as ended).
struct ProcessStatus {
    char state = '?';  // R, S, Z …
    qint64 session = 0;

    // Absent when no such process exists.
    static std::optional<ProcessStatus> of(qint64 pid);
    // Exists and has not ended.
    static bool running(qint64 pid);
};

}  // namespace kelvara::testing
