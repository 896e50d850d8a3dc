// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_status.h"

#include <QByteArrayList>
#include <QFile>

namespace kelvara::testing {

std::optional<ProcessStatus> ProcessStatus::of(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // "pid (name) state ppid pgrp session …"; the name may hold spaces and parentheses.
    const QByteArray line = stat.readAll();
    const QByteArrayList fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 4 || fields[0].isEmpty()) {
        return std::nullopt;
    }
    return ProcessStatus{fields[0][0], fields[3].toLongLong()};
}

bool ProcessStatus::running(qint64 pid) {
    const std::optional<ProcessStatus> status = of(pid);
    return status && status->state != 'Z' && status->state != 'X';
}

}  // namespace kelvara::testing
