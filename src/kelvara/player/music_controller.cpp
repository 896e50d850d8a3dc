// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/music_controller.h"

#include "i18n/l.h"
#include "launch_options.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"

#include <coroutine>

namespace kelvara {

namespace {

// Suspends a coroutine until its request is answered.
class ReplyAwaiter {
public:
    ReplyAwaiter(MusicController& controller, BridgeRequest request)
        : controller_(controller), request_(std::move(request)) {}

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting) {
        controller_.submit(std::move(request_), [this, waiting](MusicSnapshot snapshot) {
            snapshot_ = std::move(snapshot);
            waiting.resume();
        });
    }
    MusicSnapshot await_resume() { return std::move(snapshot_); }

private:
    MusicController& controller_;
    BridgeRequest request_;
    MusicSnapshot snapshot_;
};

MusicSnapshot linkFailure(const QString& description) {
    return MusicSnapshot::failure(L("Ошибка связи с Music: {0}", description));
}

// Replies always reach their callers from the event loop, never from inside the
// controller, so a caller may destroy the controller or send the next request at once.
void deliver(MusicController::Reply reply, MusicSnapshot snapshot) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [reply = std::move(reply), snapshot = std::move(snapshot)]() mutable { reply(std::move(snapshot)); },
        Qt::QueuedConnection);
}

}  // namespace

MusicController::MusicController(QString executable, AppLanguage language, QObject* parent, int replyTimeoutMs)
    : QObject(parent), executable_(std::move(executable)), language_(language) {
    replyTimer_.setSingleShot(true);
    replyTimer_.setInterval(replyTimeoutMs);
    connect(&replyTimer_, &QTimer::timeout, this, &MusicController::giveUpOnChild);
}

MusicController::~MusicController() {
    const MusicSnapshot gone = linkFailure(L("Служебный процесс завершился"));
    if (current_) {
        deliver(std::move(current_->reply), gone);
    }
    for (Exchange& exchange : waiting_) {
        deliver(std::move(exchange.reply), gone);
    }
    // Children that are still being reaped as well as the current one.
    for (QProcess* child : findChildren<QProcess*>()) {
        child->disconnect(this);
        child->kill();
        child->waitForFinished();
    }
}

QCoro::Task<MusicSnapshot> MusicController::request(BridgeRequest request) {
    // A named awaiter: g++ 12 destroys a temporary inside co_await twice.
    ReplyAwaiter awaiter(*this, std::move(request));
    co_return co_await awaiter;
}

void MusicController::submit(BridgeRequest request, Reply reply) {
    waiting_.push_back({std::move(request), std::move(reply)});
    startNext();
}

void MusicController::scheduleNext() {
    if (!nextScheduled_ && !waiting_.empty()) {
        nextScheduled_ = true;
        QMetaObject::invokeMethod(this, &MusicController::startNext, Qt::QueuedConnection);
    }
}

void MusicController::startNext() {
    nextScheduled_ = false;
    if (current_ || waiting_.empty()) {
        return;
    }
    current_ = std::move(waiting_.front());
    waiting_.pop_front();

    QByteArray line;
    try {
        line = current_->request.toJson() + '\n';
    } catch (const WaveformError&) {
        // A position JSON cannot carry; the child would refuse it the same way.
        finish(MusicSnapshot::failure(L("Некорректная команда Music"), LinkErrorCode::invalidCommand));
        return;
    }
    if (!process_ || process_->state() == QProcess::NotRunning) {
        startChild();
        if (!current_) {
            return;  // the launch failed at once
        }
    }
    // QProcess writes with SIGPIPE held back, so a child that is gone comes back as a write
    // error instead of ending this process.
    process_->write(line);
    replyTimer_.start();
    // A reply may already wait in `pending_` when a child answered more lines than asked.
    completeFromPending();
}

void MusicController::startChild() {
    dropChild();
    pending_.clear();
    auto* child = new QProcess(this);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(child, &QProcess::readyReadStandardOutput, this, [this, child] { readOutput(child); });
    connect(child, &QProcess::finished, this, [this, child] { childFinished(child); });
    connect(child, &QProcess::errorOccurred, this, [this, child](QProcess::ProcessError error) {
        childFailed(child, error);
    });
    process_ = child;
    child->start(executable_, LaunchOptions::bridgeArguments(language_));
}

void MusicController::dropChild() {
    QProcess* child = std::exchange(process_, nullptr);
    if (!child) {
        return;
    }
    child->disconnect(this);
    if (child->state() == QProcess::NotRunning) {
        child->deleteLater();
        return;
    }
    // Reaped when its end is reported, so no zombie stays behind.
    connect(child, &QProcess::finished, child, &QObject::deleteLater);
    child->kill();
}

void MusicController::readOutput(QProcess* child) {
    if (child != process_) {
        return;
    }
    pending_ += child->readAllStandardOutput();
    completeFromPending();
}

void MusicController::childFinished(QProcess* child) {
    if (child != process_) {
        return;
    }
    readOutput(child);
    qCDebug(linkLog) << "bridge child ended:" << child->exitStatus() << "exit code" << child->exitCode();
    if (current_) {
        fail(L("Служебный процесс завершился"));
    } else {
        dropChild();  // died between requests: the next one starts a fresh child
    }
}

void MusicController::childFailed(QProcess* child, QProcess::ProcessError error) {
    // A crash is handled when the child's end is reported.
    if (child != process_ || (error != QProcess::FailedToStart && error != QProcess::WriteError)) {
        return;
    }
    qCDebug(linkLog) << "bridge child" << executable_ << "failed:" << error << child->errorString();
    if (current_) {
        fail(child->errorString());
    } else {
        dropChild();
    }
}

void MusicController::completeFromPending() {
    const qsizetype end = pending_.indexOf('\n');
    if (!current_ || end < 0) {
        return;
    }
    MusicSnapshot snapshot;
    try {
        snapshot = MusicSnapshot::fromJson(QByteArrayView(pending_).first(end));
    } catch (const WaveformError& error) {
        qCDebug(linkLog) << "unreadable reply from the bridge child:" << pending_.first(end);
        fail(error.text());  // the unread bytes go with the child
        return;
    }
    pending_.remove(0, end + 1);
    finish(std::move(snapshot));
}

void MusicController::fail(const QString& description) {
    dropChild();
    finish(linkFailure(description));
}

void MusicController::giveUpOnChild() {
    qCDebug(linkLog) << "bridge child did not answer within" << replyTimer_.interval() << "ms; killing it";
    const QString description = L("Служебный процесс не отвечает");
    // Those waiting were asked of the stuck child's world; none would be answered in time.
    std::deque<Exchange> waiting = std::exchange(waiting_, {});
    fail(description);
    for (Exchange& exchange : waiting) {
        deliver(std::move(exchange.reply), linkFailure(description));
    }
}

void MusicController::finish(MusicSnapshot snapshot) {
    replyTimer_.stop();
    Exchange done = std::move(*current_);
    current_.reset();
    deliver(std::move(done.reply), std::move(snapshot));
    scheduleNext();
}

}  // namespace kelvara
