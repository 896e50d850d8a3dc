// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QThread>
#include <QUrl>

#include <mutex>

class QTcpServer;
class QTcpSocket;

namespace kelvara::testing {

// A small HTTP/1.1 server on 127.0.0.1 for download tests, answering from a thread of its own
// so that the test's thread may block. Each path answers as set; any other path gets 404.
// Every answer closes its connection, except a stalled one, which stays open and silent.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // http://127.0.0.1:<port><path>
    QUrl url(const QString& path) const;

    // 200 with the body; without declareLength the size is not sent (the end is the close).
    void serve(const QString& path, const QByteArray& body, bool declareLength = true);
    // 302 to another path of this server.
    void redirect(const QString& path, const QString& target);
    // 200 declaring the whole body's size, then only its first `sentBytes` bytes and silence.
    void stall(const QString& path, const QByteArray& body, qint64 sentBytes);

    // How many requests asked for the path so far.
    int requests(const QString& path) const;

private:
    struct Answer {
        QByteArray head;
        QByteArray body;
        bool closes = true;
    };

    void answer(QTcpSocket* socket);
    Answer answerFor(const QString& path);

    QThread thread_;
    QTcpServer* server_ = nullptr;  // lives in thread_
    quint16 port_ = 0;

    mutable std::mutex lock_;  // guards the routes and counts, set by the test, read by thread_
    QHash<QString, Answer> routes_;
    QHash<QString, int> requests_;
};

}  // namespace kelvara::testing
