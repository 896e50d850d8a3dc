// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

namespace kelvara {

// The shared state behind a TaskToken: a flag plus a signal so that a sleeping task wakes at
// once when it is cancelled instead of at the end of its sleep.
class TaskCancellation : public QObject {
    Q_OBJECT
public:
    bool isCancelled() const { return cancelled_; }
    void cancel() {
        if (!cancelled_) {
            cancelled_ = true;
            emit cancelled();
        }
    }

signals:
    void cancelled();

private:
    bool cancelled_ = false;
};

// Identity of one main-thread task started by AppState's parts. A coroutine keeps a copy and
// checks it after every await; the owner cancels it to end the task. Coroutines cannot be
// destroyed from outside, so this is how a task is "cancelled".
class TaskToken {
public:
    TaskToken() : state_(std::make_shared<TaskCancellation>()) {}

    void cancel() const { state_->cancel(); }
    bool isCancelled() const { return state_->isCancelled(); }

    // Emits cancelled() once, on the main thread, when cancel() is first called.
    TaskCancellation* notifier() const { return state_.get(); }

    friend bool operator==(const TaskToken&, const TaskToken&) = default;

private:
    std::shared_ptr<TaskCancellation> state_;
};

}  // namespace kelvara
