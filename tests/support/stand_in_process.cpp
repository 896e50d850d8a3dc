// SPDX-License-Identifier: GPL-3.0-or-later
#include "stand_in_process.h"

#include "parent_death.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <csignal>

namespace kelvara::testing {

StandInProcess::StandInProcess(const QString& name, const QList<QJsonObject>& tracks, const QString& status,
                               double volume, const QStringList& alsoNames, const std::optional<StandInWindow>& window) {
    QStringList arguments{QStringLiteral("--name"), name, QStringLiteral("--status"), status,
                          QStringLiteral("--volume"), QString::number(volume)};
    for (const QJsonObject& track : tracks) {
        arguments << QStringLiteral("--track") << QString::fromUtf8(QJsonDocument(track).toJson(QJsonDocument::Compact));
    }
    for (const QString& alsoName : alsoNames) {
        arguments << QStringLiteral("--also-name") << alsoName;
    }
    if (window) {
        arguments << QStringLiteral("--window") << QStringLiteral("%1x%2").arg(window->size.width()).arg(window->size.height())
                  << QStringLiteral("--window-type") << window->type;
    }
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithTestProcess(process_);
    process_.start(QStringLiteral(MPRIS_STAND_IN_EXECUTABLE), arguments);
    if (window) {
        const QList<QByteArray> report = readLine().split(' ');
        EXPECT_EQ(report.value(0), "window");
        reportedProcessId_ = report.value(1).toLongLong();
    }
    EXPECT_EQ(readLine(), "ready");
}

void StandInProcess::moveWindow(QPoint topLeft) {
    EXPECT_EQ(command("move " + QByteArray::number(topLeft.x()) + ' ' + QByteArray::number(topLeft.y())), "ok");
}

QPoint StandInProcess::windowPosition() {
    const QList<QByteArray> position = command("where").split(' ');
    return {position.value(0).toInt(), position.value(1).toInt()};
}

StandInProcess::~StandInProcess() {
    process_.closeWriteChannel();
    // A blocked player would not see its input end.
    if (frozen_ || unreadAnswers_ > 0 || !process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

QByteArray StandInProcess::readLine() {
    while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
    }
    return process_.readLine().trimmed();
}

QByteArray StandInProcess::command(const QByteArray& line) {
    for (; unreadAnswers_ > 0; --unreadAnswers_) {
        readLine();
    }
    process_.write(line + '\n');
    return readLine();
}

QJsonObject StandInProcess::state() {
    return QJsonDocument::fromJson(command("state")).object();
}

void StandInProcess::block(int milliseconds) {
    EXPECT_EQ(command("block " + QByteArray::number(milliseconds)), "blocking");
    ++unreadAnswers_;
}

void StandInProcess::freeze() {
    ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP);
    frozen_ = true;
}

}  // namespace kelvara::testing
