// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_progress.h"

#include <QDeadlineTimer>

namespace kelvara::testing {

namespace {
constexpr int stepMilliseconds = 100;
}

bool ProcessProgress::waitWhileMoving(const std::function<void()>& step, const std::function<bool()>& done) {
    qint64 moved = bytesMoved();
    QDeadlineTimer quiet(silence_);
    while (!done()) {
        if (process_.state() == QProcess::NotRunning) {
            return done();
        }
        step();
        if (const qint64 now = bytesMoved(); now != moved) {
            moved = now;
            quiet.setRemainingTime(silence_);
        } else if (quiet.hasExpired()) {
            return done();
        }
    }
    return true;
}

bool ProcessProgress::untilLine() {
    return waitWhileMoving([this] { process_.waitForReadyRead(stepMilliseconds); },
                           [this] { return process_.canReadLine(); });
}

bool ProcessProgress::untilFinished() {
    return waitWhileMoving([this] { process_.waitForFinished(stepMilliseconds); },
                           [this] { return process_.state() == QProcess::NotRunning; });
}

}  // namespace kelvara::testing
