// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/l.h"
#include "background_install.h"
#include "install_fixture.h"
#include "shell_runtime.h"
#include "wait_until.h"
#include "worker/install_worker.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <csignal>

using namespace kelvara;
using namespace kelvara::morvik;
using namespace kelvara::morvik::testing;
using kelvara::testing::shellRuntimeArchive;
using kelvara::testing::waitUntil;
using namespace std::chrono_literals;

namespace {

QString downloadFailed() { return L("Не удалось загрузить Python. Проверьте интернет и повторите."); }

QString stepFailed() {
    return L("Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале.");
}

bool alive(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }

// The runtime's interpreter is a shell, and the install script a shell script of the test's.
class InstallWorkerTest : public InstallFixture {
protected:
    void SetUp() override {
        archive = shellRuntimeArchive();
        ASSERT_FALSE(archive.isEmpty());
        publishRuntime(archive);
        script("echo '{\"stage\": 2, \"title\": \"t\"}'\n");
    }

    void script(const QByteArray& body) { writeFile(assets.filePath(QStringLiteral("install.py")), body); }

    QByteArray archive;
};

TEST_F(InstallWorkerTest, SixGibibytesFreeAreEnoughAndOneByteLessFailsBeforeAnyDownload) {
    const InstallOutcome tooLittle = install(InstallWorker::requiredSpace - 1);
    EXPECT_EQ(tooLittle.ending, Ending::Failed);
    EXPECT_EQ(tooLittle.failure, L("Нужно минимум 6 ГБ свободного места."));
    EXPECT_EQ(server.requests(QStringLiteral("/python.tar.gz")), 0);
    EXPECT_TRUE(tooLittle.records.isEmpty());

    const auto unknown = makeWorker();
    unknown->setFreeSpaceReader([](const QString&) { return std::optional<qint64>(); });
    EXPECT_EQ(outcomeOf(*unknown).failure, L("Нужно минимум 6 ГБ свободного места."));

    const InstallOutcome enough = install(6'442'450'944);
    EXPECT_EQ(enough.ending, Ending::Installed) << enough.failure.toStdString();
    EXPECT_EQ(server.requests(QStringLiteral("/python.tar.gz")), 1);
    EXPECT_EQ(QFile::permissions(root()) & 0x7777,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ExeUser);
}

// A second installer on the same folder would replace the first one's log and could remove
// the runtime it unpacks; the lock of an installer that died must not block the next one.
TEST_F(InstallWorkerTest, OneInstallationPerRootAndTheLockOfOneThatDiedIsTakenOver) {
    ASSERT_TRUE(QDir().mkpath(root()));
    const QString lockPath = root() + QStringLiteral("/installation.lock");
    {
        QLockFile running(lockPath);
        running.setStaleLockTime(0);
        ASSERT_TRUE(running.tryLock(0));
        const InstallOutcome second = install();
        EXPECT_EQ(second.failure, L("Установка уже идёт в другом окне установщика."));
        EXPECT_EQ(server.requests(QStringLiteral("/python.tar.gz")), 0);
        EXPECT_FALSE(QFile::exists(root() + QStringLiteral("/installation.log")));
    }

    QProcess died;
    died.start(QStringLiteral("true"));
    ASSERT_TRUE(died.waitForStarted());
    const qint64 pid = died.processId();
    ASSERT_TRUE(died.waitForFinished());
    writeFile(lockPath, QStringLiteral("%1\nmorvik\n%2\n").arg(pid).arg(QSysInfo::machineHostName()).toUtf8());
    const InstallOutcome next = install();
    EXPECT_EQ(next.ending, Ending::Installed) << next.failure.toStdString();
}

TEST_F(InstallWorkerTest, ASuccessfulRunSendsItsOwnRecordsThenTheScriptsAndRemovesTheArchive) {
    script(R"(echo '{"stage": 2, "title": "Установка модуля…", "download": 5, "total": 10}'
echo '{"stage": 4, "detail": "Проверка…"}'
)");
    const InstallOutcome run = install();
    ASSERT_EQ(run.ending, Ending::Installed) << run.failure.toStdString();
    const QList<QVariantMap>& records = run.records;
    ASSERT_GE(records.size(), 4);
    EXPECT_EQ(records.first(),
              (QVariantMap{{QStringLiteral("stage"), 1}, {QStringLiteral("title"), QStringLiteral("Загрузка Python…")}}));
    EXPECT_EQ(records.at(records.size() - 4),
              (QVariantMap{{QStringLiteral("download"), archive.size()}, {QStringLiteral("total"), archive.size()}}));
    EXPECT_EQ(records.at(records.size() - 3), (QVariantMap{{QStringLiteral("detail"), QStringLiteral("Распаковка Python…")}}));
    EXPECT_EQ(records.at(records.size() - 2).value(QStringLiteral("total")).toLongLong(), 10);
    EXPECT_EQ(records.last().value(QStringLiteral("detail")).toString(), QStringLiteral("Проверка…"));
    ASSERT_EQ(stagingFolders().size(), 1);
    EXPECT_FALSE(QFile::exists(root() + QLatin1Char('/') + stagingFolders().first() + QStringLiteral("/python.tar.gz")));
}

TEST_F(InstallWorkerTest, TheDigestMustMatchExactlyInLowerCase) {
    describeRuntime(QStringLiteral("/python.tar.gz"), sha256Of(archive).toUpper());
    const InstallOutcome run = install();
    EXPECT_EQ(run.ending, Ending::Failed);
    EXPECT_EQ(run.failure, L("Проверка целостности Python не пройдена. Повторите загрузку."));
    EXPECT_EQ(stagingFolders().size(), 1);  // a failed run's staging folder stays for a look
}

TEST_F(InstallWorkerTest, OnlyAFinalAnswerOf200Counts) {
    describeRuntime(QStringLiteral("/missing.tar.gz"), sha256Of(archive));
    EXPECT_EQ(install().failure, downloadFailed());

    server.redirect(QStringLiteral("/a"), QStringLiteral("/b"));
    server.redirect(QStringLiteral("/b"), QStringLiteral("/missing.tar.gz"));
    describeRuntime(QStringLiteral("/a"), sha256Of(archive));
    EXPECT_EQ(install().failure, downloadFailed());
    EXPECT_GE(server.requests(QStringLiteral("/b")), 1);

    server.redirect(QStringLiteral("/b"), QStringLiteral("/python.tar.gz"));
    const InstallOutcome redirected = install();
    EXPECT_EQ(redirected.ending, Ending::Installed) << redirected.failure.toStdString();
}

TEST_F(InstallWorkerTest, AServerThatStopsSendingHitsTheInactivityLimitWithThePlatformsText) {
    server.stall(QStringLiteral("/python.tar.gz"), archive, 100);
    const auto worker = makeWorker();
    worker->setInactivityTimeout(300ms);
    QElapsedTimer clock;
    clock.start();
    const InstallOutcome run = outcomeOf(*worker);
    EXPECT_EQ(run.ending, Ending::Failed);
    EXPECT_FALSE(run.failure.isEmpty());
    EXPECT_NE(run.failure, downloadFailed());
    EXPECT_NE(run.failure, QStringLiteral("Operation canceled"));
    EXPECT_LT(clock.elapsed(), 10'000 * kelvara::testing::slowdown());
}

TEST_F(InstallWorkerTest, CancelDuringTheDownloadIsACancellationNotADownloadFailure) {
    server.stall(QStringLiteral("/python.tar.gz"), archive, 100);
    const auto worker = makeWorker();
    const BackgroundInstall installing(*worker);
    // The server has answered and stalled: the transfer is under way.
    ASSERT_TRUE(waitUntil([&] { return server.requests(QStringLiteral("/python.tar.gz")) == 1; }));
    worker->cancel();
    EXPECT_TRUE(waitUntil([&] { return installing.finished(); }, 5));
    EXPECT_EQ(installing.outcome().ending, Ending::Cancelled) << installing.outcome().failure.toStdString();
}

TEST_F(InstallWorkerTest, CancelStopsTheScriptAndItsChildrenAtOnceThoughAChildHoldsTheOutput) {
    script(R"(sleep 60 &
echo $! > "$3/grandchild.pid"
echo '{"stage": 2}'
sleep 60
echo '{"stage": 3}'
)");
    const auto worker = makeWorker();
    const BackgroundInstall installing(*worker);
    ASSERT_TRUE(waitUntil([&] { return records().size() > 1 && records().last().value(QStringLiteral("stage")) == 2; }));
    const qint64 grandchild = readFile(root() + QStringLiteral("/grandchild.pid")).trimmed().toLongLong();
    EXPECT_TRUE(alive(grandchild));
    QElapsedTimer clock;
    clock.start();
    worker->cancel();
    worker->cancel();
    EXPECT_TRUE(waitUntil([&] { return installing.finished(); }, 5));
    EXPECT_LT(clock.elapsed(), 1000 * kelvara::testing::slowdown());
    EXPECT_EQ(installing.outcome().ending, Ending::Cancelled);
    EXPECT_TRUE(waitUntil([&] { return !alive(grandchild); }, 2));
}

TEST_F(InstallWorkerTest, ALeftoverChildDoesNotHoldAFinishedStep) {
    script("sleep 60 &\necho '{\"stage\": 2}'\nexit 0\n");
    QElapsedTimer clock;
    clock.start();
    const InstallOutcome run = install();
    EXPECT_EQ(run.ending, Ending::Installed) << run.failure.toStdString();
    EXPECT_LT(clock.elapsed(), 20'000);
}

TEST_F(InstallWorkerTest, OnlyJsonObjectLinesAreEventsAndAnOverlongLineIsDroppedWhole) {
    script(R"(echo 'Collecting numpy'
echo '[1, 2]'
head -c 70000 /dev/zero | tr '\0' 'x'
echo '{"stage": 3}'
echo '{"stage": 4}'
echo 'almost {"stage": 9}' >&2
printf '{"stage": 5}'
)");
    const InstallOutcome run = install();
    ASSERT_EQ(run.ending, Ending::Installed) << run.failure.toStdString();
    QList<int> stages;
    for (const QVariantMap& record : run.records) {
        if (record.contains(QStringLiteral("stage"))) {
            stages << record.value(QStringLiteral("stage")).toInt();
        }
    }
    // The 70,000 bytes without LF end in the first event's line: that whole line is dropped.
    EXPECT_EQ(stages, (QList<int>{1, 4}));
    const QByteArray logged = readFile(log());
    EXPECT_TRUE(logged.contains("Collecting numpy\n[1, 2]\n"));
    EXPECT_TRUE(logged.contains(QByteArray(70'000, 'x') + "{\"stage\": 3}\n{\"stage\": 4}\n"));
    EXPECT_TRUE(logged.contains("almost {\"stage\": 9}"));
}

TEST_F(InstallWorkerTest, TheLogIsRecreatedPrivateWithAllTheStepsOutputAndTheScriptsEnvironment) {
    publishRuntime(shellRuntimeArchive(QDateTime::currentDateTime().addYears(50)));
    QDir().mkpath(root());
    writeFile(log(), "the previous run\n");
    QFile::setPermissions(log(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    script(R"(echo "out $PYTHONUNBUFFERED"
echo "err $KELVARA_DECODER" >&2
echo "args $*"
)");
    const InstallOutcome run = install();
    ASSERT_EQ(run.ending, Ending::Installed) << run.failure.toStdString();
    EXPECT_EQ(QFile::permissions(log()) & 0x7777, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                        QFileDevice::ReadUser | QFileDevice::WriteUser);
    const QByteArray logged = readFile(log());
    EXPECT_FALSE(logged.contains("the previous run"));
    EXPECT_TRUE(logged.contains("out 1\n"));
    EXPECT_TRUE(logged.contains("in the future")) << "tar's complaint: " << logged.toStdString();
    EXPECT_TRUE(logged.contains("err /")) << logged.toStdString();
    EXPECT_TRUE(logged.contains("kelvara-analyze\n")) << logged.toStdString();
    EXPECT_TRUE(logged.contains(("args --events --root " + root()).toUtf8())) << logged.toStdString();
}

// Keeping the earlier module is the install script's part: see the whole installation's tests.
TEST_F(InstallWorkerTest, AStepThatFailsEndsTheRunWithTheStepText) {
    script("echo '{\"error\": \"Не удалось установить компоненты.\"}'\nexit 3\n");
    const InstallOutcome failed = install();
    EXPECT_EQ(failed.failure, stepFailed());
    EXPECT_EQ(failed.records.last().value(QStringLiteral("error")).toString(),
              QStringLiteral("Не удалось установить компоненты."));

    // An archive that passes its digest but is no tar fails in the unpacking step.
    server.serve(QStringLiteral("/junk.tar.gz"), "not a tar");
    describeRuntime(QStringLiteral("/junk.tar.gz"), sha256Of("not a tar"));
    EXPECT_EQ(install().failure, stepFailed());
}

}  // namespace
