// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/step_process.h"

#include "worker/install_failure.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace kelvara::morvik {

namespace {

constexpr int readWaitMs = 50;
// A step that has not gone this long after the polite request is killed: cancel must answer
// within a second.
constexpr qint64 terminationGraceMs = 400;

}  // namespace

StepProcess::StepProcess(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment) {
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    // Its own group, so that a stop reaches pip's and tar's children too; and it goes when the
    // installing thread does, so a crash of ours leaves nothing running.
    process_.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

StepProcess::~StepProcess() {
    if (process_.state() != QProcess::NotRunning) {
        signalGroup(SIGKILL);
        process_.waitForFinished(-1);
    }
}

void StepProcess::start() {
    process_.start();
    if (!process_.waitForStarted(-1)) {
        throw InstallFailure::about(process_.program(), process_.errorString());
    }
    group_ = process_.processId();
}

bool StepProcess::readUntilExit(QIODevice& log, const Event& event) {
    QElapsedTimer sinceTerminate;
    while (process_.state() != QProcess::NotRunning) {
        // A program that closed its output is still waited for, without spinning.
        if (!process_.waitForReadyRead(readWaitMs)) {
            process_.waitForFinished(readWaitMs);
        }
        take(log, event);
        killIfIgnored(sinceTerminate);
    }
    take(log, event);
    // What it started and left behind has no one to read it any more.
    signalGroup(SIGKILL);
    group_ = 0;
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

void StepProcess::terminate() {
    terminating_ = true;
    signalGroup(SIGTERM);
}

void StepProcess::take(QIODevice& log, const Event& event) {
    const QByteArray output = process_.readAllStandardOutput();
    if (output.isEmpty()) {
        return;
    }
    log.write(output);  // a full disk must not stop the step: the log is only for reading later
    lines_.feed(output, [&](const QByteArray& line) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject()) {
            event(document.object().toVariantMap());
        }
    });
}

void StepProcess::killIfIgnored(QElapsedTimer& sinceTerminate) {
    if (!terminating_) {
        return;
    }
    if (!sinceTerminate.isValid()) {
        sinceTerminate.start();
    } else if (sinceTerminate.hasExpired(terminationGraceMs)) {
        signalGroup(SIGKILL);
    }
}

void StepProcess::signalGroup(int signal) const {
    if (const qint64 group = group_; group > 0) {
        ::kill(static_cast<pid_t>(-group), signal);
    }
}

}  // namespace kelvara::morvik
