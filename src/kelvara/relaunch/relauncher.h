// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvara {

// Starts a program again after a process has ended: a shell in a session of its own (so it
// outlives the process) checks every 0.2 s whether the process still exists and, once it has
// gone, replaces itself with the program. After `polls` checks it gives up silently.
class Relauncher {
public:
    static constexpr int defaultPolls = 300;  // a minute

    struct Command {
        qint64 waitFor = 0;  // the process that has to end first
        QString program;
        QStringList arguments;
    };

    explicit Relauncher(Command command, int polls = defaultPolls,
                        QString shell = QStringLiteral("/bin/sh"));

    // This process's executable with its arguments, once this process has ended.
    static Relauncher ofThisProcess();

    // The shell's PID, which becomes the new program's once it starts it; absent when the
    // shell could not be started.
    std::optional<qint64> start() const;

private:
    Command command_;
    int polls_;
    QString shell_;
};

}  // namespace kelvara
