// SPDX-License-Identifier: GPL-3.0-or-later
#include "control_input.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace kelvara {

namespace {

void answer(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

ControlInput::ControlInput(StandInPlayer& player, QWindow* window)
    : player_(player), window_(window), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &ControlInput::readAvailable);
}

void ControlInput::readAvailable() {
    char chunk[4096];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
        notifier_.setEnabled(false);
        QCoreApplication::quit();
        return;
    }
    buffer_.append(chunk, count);
    for (qsizetype end = buffer_.indexOf('\n'); end >= 0; end = buffer_.indexOf('\n')) {
        const QByteArray command = buffer_.left(end).trimmed();
        buffer_.remove(0, end + 1);
        answer(run(command));
    }
}

QByteArray ControlInput::run(const QByteArray& command) {
    const QList<QByteArray> words = command.split(' ');
    const QByteArray& verb = words.first();
    const QByteArray argument = words.value(1);
    if (verb == "track") {
        player_.selectTrack(argument.toInt());
    } else if (verb == "status") {
        player_.setStatus(QString::fromLatin1(argument));
    } else if (verb == "volume") {
        player_.setVolume(argument.toDouble());
    } else if (verb == "block") {
        answer("blocking");
        QThread::msleep(argument.toULong());
    } else if (verb == "state") {
        const QJsonObject state{{QStringLiteral("status"), player_.playbackStatus()},
                                {QStringLiteral("track"), player_.trackIndex()},
                                {QStringLiteral("position"), double(player_.position()) / 1e6},
                                {QStringLiteral("volume"), player_.volume()},
                                {QStringLiteral("calls"), QJsonArray::fromStringList(player_.calls())}};
        return QJsonDocument(state).toJson(QJsonDocument::Compact);
    } else if (verb == "move" && window_) {
        window_->setFramePosition(QPoint(argument.toInt(), words.value(2).toInt()));
    } else if (verb == "fullscreen" && window_) {
        window_->showFullScreen();
    } else if (verb == "where" && window_) {
        const QPoint frame = window_->framePosition();
        return QByteArray::number(frame.x()) + ' ' + QByteArray::number(frame.y());
    } else if (verb == "quit") {
        QCoreApplication::quit();
    } else {
        return "unknown command";
    }
    return "ok";
}

}  // namespace kelvara
