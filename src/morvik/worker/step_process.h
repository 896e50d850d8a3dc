// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/line_splitter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QVariantMap>

#include <atomic>
#include <functional>

class QIODevice;

namespace kelvara::morvik {

// One step of the installation run as a child program (tar, the install script) in a process
// group of its own, so that stopping it reaches every program it started. Its standard output
// and error come through one pipe: all of it goes to the log, and each line that is a JSON
// object is passed on as an event. Made, started and read on the installing thread;
// terminate() from any thread while it runs.
class StepProcess {
public:
    using Event = std::function<void(const QVariantMap&)>;

    // A line that grows past this without an LF is dropped whole.
    static constexpr qsizetype eventLineLimit = 64 * 1024;

    StepProcess(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);
    StepProcess(const StepProcess&) = delete;
    StepProcess& operator=(const StepProcess&) = delete;
    ~StepProcess();

    // Throws InstallFailure with the platform's text when the program cannot be started.
    void start();

    // Reads until the program itself exits: a program it started that keeps the pipe open does
    // not hold the step. Then ends whatever is left of its group. Whether it exited with 0.
    bool readUntilExit(QIODevice& log, const Event& event);

    // Asks the whole group to stop; what ignores that is killed shortly after.
    void terminate();

private:
    void take(QIODevice& log, const Event& event);
    void killIfIgnored(QElapsedTimer& sinceTerminate);
    void signalGroup(int signal) const;

    QProcess process_;
    LineSplitter lines_{eventLineLimit};
    std::atomic<qint64> group_ = 0;  // the program's process id while it runs, else 0
    std::atomic<bool> terminating_ = false;
};

}  // namespace kelvara::morvik
