// SPDX-License-Identifier: GPL-3.0-or-later
// The real morvik program: the language it takes from Kelvara.
#include "display_windows.h"
#include "i18n/localization.h"
#include "storage/settings.h"
#include "test_home.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

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
    waitUntil([&] { return !windows.titlesOf(installer.processId()).isEmpty(); }, 20);
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

}  // namespace
}  // namespace kelvara::testing
