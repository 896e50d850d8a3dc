// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>

#include <optional>

namespace kelvara::testing {

// The player's own X11 window, when it shows one: "normal", "dialog" or "utility".
struct StandInWindow {
    QSize size;
    QString type = QStringLiteral("normal");
};

// The stand-in MPRIS player (tools/kelvara-mpris-player) on the current session bus,
// driven through its standard input.
class StandInProcess {
public:
    // `alsoNames`: further bus names (after the prefix) the player owns on its one connection.
    StandInProcess(const QString& name, const QList<QJsonObject>& tracks, const QString& status = QStringLiteral("Playing"),
                   double volume = 1.0, const QStringList& alsoNames = {},
                   const std::optional<StandInWindow>& window = std::nullopt);
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
    // The process id the player reported with its window (0 without one).
    qint64 reportedProcessId() const { return reportedProcessId_; }
    // Moves its window as a user's drag would (through the window manager).
    void moveWindow(QPoint topLeft);
    // Where the window manager last put its window's frame.
    QPoint windowPosition();

private:
    QByteArray readLine();

    QProcess process_;
    int unreadAnswers_ = 0;  // the "ok" that ends a block
    bool frozen_ = false;
    qint64 reportedProcessId_ = 0;
};

}  // namespace kelvara::testing
