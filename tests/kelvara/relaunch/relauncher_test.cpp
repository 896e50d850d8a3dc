// SPDX-License-Identifier: GPL-3.0-or-later
// The relaunch shell with real processes: an old process to wait for (a sleeping child) and
// a command that leaves a mark when it starts.
#include "app_state_fixture.h"
#include "process_status.h"
#include "relaunch/relauncher.h"
#include "wait_until.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

// The fixture only for its application object: nothing here needs an AppState.
class RelauncherTest : public AppStateFixture {
protected:
    RelauncherTest() {
        old.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        old.waitForStarted();
    }
    ~RelauncherTest() override {
        old.kill();
        old.waitForFinished();
    }

    // The mark: the PID of the started command and its arguments.
    Relauncher::Command leaveMark() const {
        return {old.processId(), QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("echo \"$$|$1\" > \"$2\""), QStringLiteral("sh"),
                 QStringLiteral("two words"), mark}};
    }

    QTemporaryDir dir;
    QString mark = dir.filePath(QStringLiteral("started"));
    QProcess old;
};

TEST_F(RelauncherTest, StartsTheCommandInItsOwnSessionOnceTheOldProcessHasEnded) {
    const std::optional<qint64> shell = Relauncher(leaveMark()).start();
    ASSERT_TRUE(shell.has_value());
    const std::optional<ProcessStatus> status = ProcessStatus::of(*shell);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(status->session, ProcessStatus::of(QCoreApplication::applicationPid())->session)
        << "it must outlive our session";

    waitUntil([] { return false; }, 0.5);
    EXPECT_FALSE(QFile::exists(mark)) << "started while the old process still runs";

    old.kill();
    old.waitForFinished();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(mark) && QFile(mark).size() > 0; }));
    QFile file(mark);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().trimmed(), QByteArray::number(*shell) + "|two words")
        << "the shell becomes the program, arguments intact";
}

TEST_F(RelauncherTest, GivesUpWhenTheOldProcessOutlivesItsPolls) {
    const std::optional<qint64> shell = Relauncher(leaveMark(), 3).start();
    ASSERT_TRUE(shell.has_value());
    ASSERT_TRUE(waitUntil([&] { return !ProcessStatus::running(*shell); })) << "three polls take 0.6 s";
    old.kill();
    old.waitForFinished();
    waitUntil([] { return false; }, 0.5);
    EXPECT_FALSE(QFile::exists(mark));
}

}  // namespace
}  // namespace kelvara::testing
