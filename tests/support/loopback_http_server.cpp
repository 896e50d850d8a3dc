// SPDX-License-Identifier: GPL-3.0-or-later
#include "loopback_http_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <stdexcept>

namespace kelvara::testing {

namespace {

QByteArray head(const QByteArray& status, const QByteArray& fields) {
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + fields + "\r\n";
}

QByteArray lengthField(qint64 length) { return "Content-Length: " + QByteArray::number(length) + "\r\n"; }

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    server_ = new QTcpServer;
    server_->moveToThread(&thread_);
    thread_.start();
    QMetaObject::invokeMethod(
        server_,
        [this] {
            QObject::connect(server_, &QTcpServer::newConnection, server_, [this] {
                while (QTcpSocket* socket = server_->nextPendingConnection()) {
                    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                }
            });
            if (server_->listen(QHostAddress::LocalHost)) {
                port_ = server_->serverPort();
            }
        },
        Qt::BlockingQueuedConnection);
    if (port_ == 0) {
        throw std::runtime_error("the loopback HTTP server cannot listen");
    }
}

LoopbackHttpServer::~LoopbackHttpServer() {
    QMetaObject::invokeMethod(server_, [this] { delete server_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QUrl LoopbackHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
}

void LoopbackHttpServer::serve(const QString& path, const QByteArray& body, bool declareLength) {
    const std::lock_guard guard(lock_);
    routes_[path] = {head("200 OK", declareLength ? lengthField(body.size()) : QByteArray()), body};
}

void LoopbackHttpServer::redirect(const QString& path, const QString& target) {
    const std::lock_guard guard(lock_);
    routes_[path] = {head("302 Found", "Location: " + url(target).toEncoded() + "\r\n" + lengthField(0)), {}};
}

void LoopbackHttpServer::stall(const QString& path, const QByteArray& body, qint64 sentBytes) {
    const std::lock_guard guard(lock_);
    routes_[path] = {head("200 OK", lengthField(body.size())), body.left(sentBytes), false};
}

int LoopbackHttpServer::requests(const QString& path) const {
    const std::lock_guard guard(lock_);
    return requests_.value(path);
}

void LoopbackHttpServer::answer(QTcpSocket* socket) {
    // Only the request line matters; the rest of the request is read and ignored.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    if (!socket->canReadLine()) {
        return;
    }
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    socket->readAll();
    socket->setProperty("answered", true);
    const Answer reply = answerFor(requestLine.size() >= 2 ? QString::fromUtf8(requestLine[1]) : QString());
    socket->write(reply.head);
    socket->write(reply.body);
    if (reply.closes) {
        socket->disconnectFromHost();
    }
}

LoopbackHttpServer::Answer LoopbackHttpServer::answerFor(const QString& path) {
    const std::lock_guard guard(lock_);
    ++requests_[path];
    return routes_.value(path, {head("404 Not Found", lengthField(0)), {}});
}

}  // namespace kelvara::testing
