// SPDX-License-Identifier: GPL-3.0-or-later
// The relaunch with the real program on the X server: a Russian kelvara runs, German is
// chosen for the next launch, the relaunch shell waits for the old process to end and then
// brings up a new one, whose window speaks German.
#include "display_windows.h"
#include "i18n/localization.h"
#include "private_bus.h"
#include "process_status.h"
#include "relaunch/relauncher.h"
#include "storage/settings.h"
#include "test_home.h"
#include "wait_until.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace kelvara::testing {
namespace {

QString windowTitle(AppLanguage language) {
    return Localization::text(QStringLiteral("Kelvara · Звуковая волна"), {}, language);
}

TEST(WindowRelaunch, BringsUpTheProgramAgainInTheNewLanguageAfterTheOldOneEnded) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
    }
    TestHome home;
    PrivateBus bus;
    Settings().setLanguage(QStringLiteral("ru"));
    const QString program = qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/src/kelvara/kelvara");
    QProcess old;
    old.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    old.start(program, {});
    DisplayWindows windows;
    ASSERT_TRUE(waitUntil([&] { return windows.titlesOf(old.processId()).contains(windowTitle(AppLanguage::Case::Russian)); }, 20))
        << windows.titlesOf(old.processId()).join(u',').toStdString();

    Settings().setLanguage(QStringLiteral("de"));
    const std::optional<qint64> relaunched = Relauncher({old.processId(), program, {}}).start();
    ASSERT_TRUE(relaunched.has_value());
    waitUntil([] { return false; }, 0.5);
    EXPECT_TRUE(windows.titlesOf(*relaunched).isEmpty()) << "nothing new while the old one runs";

    old.terminate();
    ASSERT_TRUE(old.waitForFinished(10'000));
    const bool german = waitUntil([&] { return windows.titlesOf(*relaunched).contains(windowTitle(AppLanguage::Case::German)); }, 20);
    const QStringList shown = windows.titlesOf(*relaunched);
    ::kill(static_cast<pid_t>(*relaunched), SIGTERM);
    EXPECT_TRUE(german) << "titles of the new process: " << shown.join(u',').toStdString();
    EXPECT_TRUE(waitUntil([&] { return !ProcessStatus::running(*relaunched); }, 10));
}

}  // namespace
}  // namespace kelvara::testing
