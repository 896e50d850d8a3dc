// SPDX-License-Identifier: GPL-3.0-or-later
#include "relaunch/relauncher.h"

#include "logging/log_categories.h"

#include <QCoreApplication>
#include <QProcess>

namespace kelvara {

namespace {

// $1 polls, $2 the PID to wait for, then the command line. `exec` keeps the shell's PID for
// the new program, and its arguments reach it unchanged, spaces and all.
constexpr const char* pollingScript =
    "polls=$1; pid=$2; shift 2; "
    "for i in $(seq 1 \"$polls\"); do if ! kill -0 \"$pid\" 2>/dev/null; then exec \"$@\"; fi; sleep 0.2; done";

}  // namespace

Relauncher::Relauncher(Command command, int polls, QString shell)
    : command_(std::move(command)), polls_(polls), shell_(std::move(shell)) {}

Relauncher Relauncher::ofThisProcess() {
    return Relauncher(Command{QCoreApplication::applicationPid(), QCoreApplication::applicationFilePath(),
                              QCoreApplication::arguments().mid(1)});
}

std::optional<qint64> Relauncher::start() const {
    QProcess shell;
    shell.setProgram(shell_);
    shell.setArguments(QStringList{QStringLiteral("-c"), QString::fromLatin1(pollingScript),
                                   QStringLiteral("kelvara-relaunch"), QString::number(polls_),
                                   QString::number(command_.waitFor), command_.program} +
                       command_.arguments);
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.setStandardErrorFile(QProcess::nullDevice());
    // A detached process is started in a session of its own, so our end does not end it.
    qint64 pid = 0;
    if (!shell.startDetached(&pid)) {
        qCWarning(windowLog) << "Could not start" << shell_ << "for the relaunch:" << shell.errorString();
        return std::nullopt;
    }
    return pid;
}

}  // namespace kelvara
