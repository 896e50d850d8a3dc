// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

#include <chrono>
#include <functional>

namespace kelvara::testing {

// Waits on a child for as long as bytes keep moving through its pipes, so a wait scales with
// the work rather than with a guess at its total: under the sanitizers on a loaded machine a
// large input takes many times longer, but the child never falls silent for long.
class ProcessProgress {
public:
    static constexpr std::chrono::milliseconds defaultSilence{30'000};

    explicit ProcessProgress(QProcess& process, std::chrono::milliseconds silence = defaultSilence)
        : process_(process), silence_(silence) {}

    // True once a whole line can be read; false when the child ended or fell silent first.
    bool untilLine();
    // True once the child has ended; false when it fell silent first (it is left running).
    bool untilFinished();

private:
    // `step` waits a little while moving data; `done` says when to stop.
    bool waitWhileMoving(const std::function<void()>& step, const std::function<bool()>& done);
    // Grows whenever the child takes input or gives output.
    qint64 bytesMoved() const { return process_.bytesAvailable() - process_.bytesToWrite(); }

    QProcess& process_;
    std::chrono::milliseconds silence_;
};

}  // namespace kelvara::testing
