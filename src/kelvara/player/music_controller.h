// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"
#include "models/bridge_request.h"
#include "models/music_snapshot.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCoroTask>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace kelvara {

// The window's link to the music player. It keeps one bridge child (this program started
// with --music-bridge) and exchanges one request line for one reply line with it, one
// exchange at a time in the order the requests came. Nothing here blocks the thread: the
// child's pipes are served by the event loop.
class MusicController : public QObject {
    Q_OBJECT
public:
    using Reply = std::function<void(MusicSnapshot)>;

    // The child bounds every player call by 3 s and a command makes at most a few, so a
    // child that has not answered by then is stuck itself.
    static constexpr int defaultReplyTimeoutMs = 8000;

    // `executable` is started as the child; `language` is passed on so the child speaks the
    // window's language. A child that leaves a request unanswered for `replyTimeoutMs` is
    // killed: that request and those waiting get an error, and the next starts a fresh child.
    explicit MusicController(QString executable = QCoreApplication::applicationFilePath(),
                             AppLanguage language = AppLanguage::current(), QObject* parent = nullptr,
                             int replyTimeoutMs = defaultReplyTimeoutMs);
    // Terminates the child. Requests still waiting get an error snapshot.
    ~MusicController() override;

    // The player's state after `request`. Never throws: every failure comes back as a
    // snapshot with `error` set. The child is started on first use and replaced after a
    // failure.
    QCoro::Task<MusicSnapshot> request(BridgeRequest request);

    // The same for callers without a coroutine: `reply` runs once, later, on this thread.
    void submit(BridgeRequest request, Reply reply);

private:
    struct Exchange {
        BridgeRequest request;
        Reply reply;
    };

    void startNext();
    void scheduleNext();
    void startChild();
    void dropChild();
    void readOutput(QProcess* child);
    void childFinished(QProcess* child);
    void childFailed(QProcess* child, QProcess::ProcessError error);
    void completeFromPending();
    void fail(const QString& description);
    void finish(MusicSnapshot snapshot);
    void giveUpOnChild();

    QString executable_;
    AppLanguage language_;
    QProcess* process_ = nullptr;
    QByteArray pending_;  // bytes from the child not yet taken as a reply
    std::optional<Exchange> current_;
    std::deque<Exchange> waiting_;
    bool nextScheduled_ = false;
    QTimer replyTimer_;  // runs while a written request waits for its reply
};

}  // namespace kelvara
