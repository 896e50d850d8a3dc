// SPDX-License-Identifier: GPL-3.0-or-later
// The real morvik program: the language it takes from Kelvara, and quitting mid-installation.
#include "display_windows.h"
#include "loopback_http_server.h"
#include "process_status.h"
#include "shell_runtime.h"
#include "storage/settings.h"
#include "test_home.h"
#include "vocal/vocal_resources.h"
#include "wait_until.h"
#include "worker/install_worker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace kelvara::testing {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Starts morvik on the X server with a Russian desktop, waits for its window and closes it as
// a desktop's logout would, answering the window's title.
QString titleOfAStartedInstaller() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ru"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
    QProcess installer;
    installer.setProcessEnvironment(environment);
    installer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    installer.start(QStringLiteral(MORVIK_EXECUTABLE), {});
    DisplayWindows windows;
    // The window may be mapped a moment before it has its title.
    waitUntil([&] { return windows.titlesOf(installer.processId()).join(u'|').contains(QStringLiteral("Kelvara · ")); }, 20);
    const QStringList titles = windows.titlesOf(installer.processId());
    installer.terminate();
    EXPECT_TRUE(installer.waitForFinished(10'000));
    EXPECT_EQ(installer.exitStatus(), QProcess::NormalExit) << "SIGTERM closes the window like its close button";
    EXPECT_EQ(installer.exitCode(), 0);
    return titles.value(0);
}

TEST(MorvikProgram, SpeaksTheLanguageChosenInKelvaraWithoutWritingKelvarasSettings) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
    }
    TestHome home;
    EXPECT_EQ(titleOfAStartedInstaller(), QStringLiteral("Kelvara · Вокальный модуль")) << "without a choice in Kelvara the desktop's language";
    EXPECT_FALSE(QFile::exists(Settings::filePath())) << "the installer stores no language of its own there";

    Settings().setLanguage(QStringLiteral("en"));
    const QByteArray kelvaraSettings = fileBytes(Settings::filePath());
    EXPECT_EQ(titleOfAStartedInstaller(), QStringLiteral("Kelvara · Vocal module"));
    EXPECT_EQ(fileBytes(Settings::filePath()), kelvaraSettings);
}

TEST(MorvikProgram, TheBuildPutsItBesideKelvaraWhereKelvarasMenuLooksForIt) {
    const QFileInfo installer(QFileInfo(QStringLiteral(KELVARA_EXECUTABLE)).dir().filePath(QStringLiteral("morvik")));
    EXPECT_TRUE(installer.isExecutable());
    EXPECT_EQ(installer.canonicalFilePath(), QFileInfo(QStringLiteral(MORVIK_EXECUTABLE)).canonicalFilePath());
}

// An installed tree of its own: bin/morvik and the files it installs from, which the program
// finds from its executable as the package lays them out.
class InstalledTree {
public:
    InstalledTree() {
        QDir().mkpath(folder_.filePath(QStringLiteral("bin")));
        QDir().mkpath(assets());
        QFile::copy(QStringLiteral(MORVIK_EXECUTABLE), program());
    }

    QString program() const { return folder_.filePath(QStringLiteral("bin/morvik")); }
    QString assets() const { return folder_.filePath(QStringLiteral("share/kelvara/vocals")); }

    void script(const QByteArray& body) const {
        QFile file(assets() + QStringLiteral("/install.py"));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(body);
        }
    }

private:
    QTemporaryDir folder_;
};

TEST(MorvikProgram, QuittingDuringAnInstallationStopsTheRunAndItsChildrenFirst) {
    TestHome home;
    QDir().mkpath(VocalResources::userFolder());
    if (QStorageInfo(VocalResources::userFolder()).bytesAvailable() < morvik::InstallWorker::requiredSpace) {
        GTEST_SKIP() << "the real program needs 6 GiB free here to get past its first check";
    }
    LoopbackHttpServer server;
    const QByteArray archive = shellRuntimeArchive();
    server.serve(QStringLiteral("/python.tar.gz"), archive);
    InstalledTree tree;
    describeRuntime(tree.assets(), server.url(QStringLiteral("/python.tar.gz")), sha256Of(archive));
    tree.script(R"(sleep 60 &
echo $! > "$3/grandchild.pid"
echo '{"stage": 2}'
sleep 60
)");
    QProcess installer;
    installer.setProcessChannelMode(QProcess::ForwardedChannels);
    installer.start(tree.program(), {QStringLiteral("--install")});
    const QString pidFile = VocalResources::userFolder() + QStringLiteral("/grandchild.pid");
    ASSERT_TRUE(waitUntil([&] { return fileBytes(pidFile).endsWith('\n'); }, 20));
    const qint64 grandchild = fileBytes(pidFile).trimmed().toLongLong();
    ASSERT_TRUE(ProcessStatus::running(grandchild));

    installer.terminate();
    EXPECT_TRUE(waitUntil([&] { return installer.state() == QProcess::NotRunning; }, 10)) << "the step is stopped, not waited out";
    EXPECT_EQ(installer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(installer.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return !ProcessStatus::running(grandchild); }, 2));
    installer.kill();
    installer.waitForFinished();
}

}  // namespace
}  // namespace kelvara::testing
