// SPDX-License-Identifier: GPL-3.0-or-later
// The relaunch with the real program on the X server: a Russian kelvara runs, German is
// chosen for the next launch, the relaunch shell waits for the old process to end and then
// brings up a new one, whose window speaks German.
#include "i18n/localization.h"
#include "private_bus.h"
#include "process_status.h"
#include "relaunch/relauncher.h"
#include "storage/settings.h"
#include "test_home.h"
#include "wait_until.h"

#include <QProcess>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <csignal>
#include <memory>

namespace kelvara::testing {
namespace {

// The titles of the top-level windows a process shows (no window manager runs here, so
// they are the root window's children).
class DisplayWindows {
public:
    DisplayWindows() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~DisplayWindows() { xcb_disconnect(connection_); }
    DisplayWindows(const DisplayWindows&) = delete;
    DisplayWindows& operator=(const DisplayWindows&) = delete;

    QStringList titlesOf(qint64 pid) {
        QStringList titles;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr);
        if (!tree) {
            return titles;
        }
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const QByteArray owner = property(children[i], atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
            if (owner.size() == 4 && *reinterpret_cast<const quint32*>(owner.constData()) == pid) {
                titles.append(QString::fromUtf8(property(children[i], atom("_NET_WM_NAME"), atom("UTF8_STRING"))));
            }
        }
        free(tree);
        return titles;
    }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
        return result;
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        auto* reply = xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, name, type, 0, 1024), nullptr);
        QByteArray value;
        if (reply) {
            value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
            free(reply);
        }
        return value;
    }

    xcb_connection_t* connection_;
};

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
