// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>

namespace kelvara::testing {

// The stand-in MPRIS player (tools/kelvara-mpris-player) on the current session bus,
// driven through its standard input.
class StandInProcess {
public:
    // `alsoNames`: further bus names (after the prefix) the player owns on its one connection.
    StandInProcess(const QString& name, const QList<QJsonObject>& tracks, const QString& status = QStringLiteral("Playing"),
                   double volume = 1.0, const QStringList& alsoNames = {});
    ~StandInProcess();

    // Sends one control command and returns its answer line.
    QByteArray command(const QByteArray& line);
    // {"status", "track", "position" (s), "volume", "calls"}
    QJsonObject state();
    // Returns once the player has stopped answering for `milliseconds`.
    void block(int milliseconds);
    // Stops the process (SIGSTOP), as a hung player; it is killed at the end of the test.
    void freeze();
    qint64 processId() const { return process_.processId(); }

private:
    QByteArray readLine();

    QProcess process_;
    int unreadAnswers_ = 0;  // the "ok" that ends a block
    bool frozen_ = false;
};

}  // namespace kelvara::testing
