// SPDX-License-Identifier: GPL-3.0-or-later
// Pinning under X11 with a window manager: above other windows in modes 1 and 2, and linked
// with the stand-in player's own window so that either one drags the other along.
#include "app_state.h"
#include "bus_environment.h"
#include "desktop/player_window_attachment.h"
#include "desktop/x11_desktop_windows.h"
#include "desktop_helper.h"
#include "i18n/l.h"
#include "player_directory.h"
#include "private_bus.h"
#include "stand_in_process.h"
#include "test_home.h"
#include "ui/content_view.h"
#include "ui/kelvara_window.h"
#include "ui/message_row.h"
#include "ui/toolbar.h"
#include "ui/window_commands.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace kelvara::testing {
namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Whether the window manager keeps the window above others, as it announces in _NET_WM_STATE.
bool keptAbove(const QWidget& window) {
    auto* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto cookie = xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()),
                                         atomNamed(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply) {
        return false;
    }
    const auto* states = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const xcb_atom_t above = atomNamed(connection, "_NET_WM_STATE_ABOVE");
    return std::find(states, states + xcb_get_property_value_length(reply.get()) / 4, above) != states + xcb_get_property_value_length(reply.get()) / 4;
}

// The window manager's hold on the screen (the WM_S0 selection), none without one.
xcb_window_t windowManagerSelection() {
    auto* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto cookie = xcb_get_selection_owner(connection, atomNamed(connection, "WM_S0"));
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, cookie, nullptr), &std::free);
    return owner ? owner->owner : xcb_window_t{XCB_WINDOW_NONE};
}

// The real pointer, moved and pressed through the X server as a user's hand would.
bool pointer(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(10'000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool pointerTo(QPoint at) { return pointer({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}); }

std::unique_ptr<StandInProcess> playerWithWindow(QSize size, const QString& type = QStringLiteral("normal")) {
    return std::make_unique<StandInProcess>(QStringLiteral("standin"), QList<QJsonObject>{}, QStringLiteral("Paused"), 1.0,
                                            QStringList{}, StandInWindow{size, type});
}

class WindowPinning : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
        }
        // A window manager of the test before may still be on its way out: ours replaces it,
        // so that no window of ours is handed to one that no longer answers.
        const xcb_window_t before = windowManagerSelection();
        windowManager = std::make_unique<DesktopHelper>(QStringLiteral("openbox"),
                                                        QStringList{QStringLiteral("--sm-disable"), QStringLiteral("--replace")});
        ASSERT_TRUE(waitUntil([&] {
            const xcb_window_t now = windowManagerSelection();
            return now != XCB_WINDOW_NONE && now != before;
        }, 5)) << "openbox did not take the screen";
        bus = std::make_unique<PrivateBus>();
        state = std::make_unique<AppState>(busEnvironment(*bus));
        window = std::make_unique<KelvaraWindow>(*state, false);
        window->show();
        // Now and then a window manager that has just started drops a first map request.
        if (!QTest::qWaitForWindowExposed(window.get(), 3000)) {
            window->hide();
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
    }

    void TearDown() override {
        window.reset();
        state.reset();
        QTest::qWait(100);
        player.reset();
        bus.reset();
    }

    void pressPin() { window->content()->toolbar()->pinButton()->click(); }

    void followPlayer(QSize size, const QString& type = QStringLiteral("normal")) {
        player = playerWithWindow(size, type);
        ASSERT_TRUE(waitUntil([&] { return state->playback().players().followed().has_value(); }, 10));
    }

    void pinTwice() {
        state->pin().cyclePinMode();
        state->pin().cyclePinMode();
    }

    // A player with a window, followed, and Kelvara linked to it 150 px above its window.
    void link() {
        followPlayer({400, 300});
        player->moveWindow({100, 400});
        window->move(130, 250);
        // Qt answers a move at once; the X server's answer is what linking reads.
        X11DesktopWindows desktop;
        std::optional<DesktopWindows::WindowId> playerWindow;
        ASSERT_TRUE(waitUntil([&] { return (playerWindow = desktop.findStandardWindow(static_cast<std::uint32_t>(player->processId()))).has_value(); }, 5));
        const auto ownWindow = static_cast<DesktopWindows::WindowId>(window->winId());
        ASSERT_TRUE(waitUntil([&] { return desktop.topLeft(*playerWindow) == QPoint(100, 400) && desktop.topLeft(ownWindow) == QPoint(130, 250); }, 5));
        pinTwice();
        ASSERT_EQ(state->pin().pinMode(), PinControl::Linked) << state->pin().pinError().value_or(QString()).toStdString();
    }

    // Drags the window by its background (the margin left of the strip) by `by` with the real
    // pointer, in steps, so that the window manager, once it has taken the drag over, sees
    // the pointer move on.
    void dragBackground(QPoint by) {
        const QPoint grip = window->mapToGlobal(QPoint(4, window->height() / 2));
        ASSERT_TRUE(pointerTo(grip)) << "xdotool moves the pointer";
        ASSERT_TRUE(waitUntil([&] { return QCursor::pos() == grip; }, 5));
        ASSERT_TRUE(pointer({QStringLiteral("mousedown"), QStringLiteral("1")}));
        constexpr int steps = 10;
        for (int step = 1; step <= steps; ++step) {
            QTest::qWait(30);
            ASSERT_TRUE(pointerTo(grip + by * step / steps));
        }
        ASSERT_TRUE(pointerTo(grip + by + QPoint(1, 0)));
        ASSERT_TRUE(pointerTo(grip + by));
        QTest::qWait(100);
        ASSERT_TRUE(pointer({QStringLiteral("mouseup"), QStringLiteral("1")}));
    }

    TestHome home;
    std::unique_ptr<DesktopHelper> windowManager;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<StandInProcess> player;
    std::unique_ptr<AppState> state;
    std::unique_ptr<KelvaraWindow> window;
};

TEST_F(WindowPinning, ThePinCyclesAboveOthersAndRefusesToLinkWithoutAPlayer) {
    QToolButton* pin = window->content()->toolbar()->pinButton();
    MessageRow* row = window->content()->noticeRow();
    EXPECT_EQ(pin->toolTip(), L("Закрепление выключено · нажмите для закрепления на экране"));
    EXPECT_FALSE(keptAbove(*window));

    pressPin();
    EXPECT_EQ(state->pin().pinMode(), PinControl::Pinned);
    EXPECT_EQ(pin->toolTip(), L("Закреплено на текущем рабочем столе · нажмите для связи с Music"));
    EXPECT_EQ(window->commands()->pin()->text(), pin->toolTip()) << "the menu item and shortcut name the same step";
    EXPECT_TRUE(waitUntil([&] { return keptAbove(*window); }, 5)) << "pinned windows stay above others";

    // No player on the bus: linking is refused with the reason, and the window stays pinned.
    pressPin();
    EXPECT_EQ(state->pin().pinMode(), PinControl::Pinned);
    EXPECT_EQ(state->pin().pinError(), L("Откройте окно Music и нажмите булавку снова."));
    EXPECT_FALSE(row->isHidden());
    EXPECT_EQ(row->message(), L("Откройте окно Music и нажмите булавку снова."));
    row->button()->click();
    EXPECT_FALSE(state->pin().pinError());
    EXPECT_TRUE(row->isHidden());

    // Shift+Ctrl+T is the same step; "Отключить закрепление" goes back to a normal window.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    player = playerWithWindow({400, 300});
    ASSERT_TRUE(waitUntil([&] { return state->playback().players().followed().has_value(); }, 10));
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(state->pin().pinMode(), PinControl::Linked);
    EXPECT_EQ(pin->toolTip(), L("Связано с Music · нажмите для отключения"));
    EXPECT_TRUE(keptAbove(*window)) << "a linked window stays above others too";
    state->pin().unpin();
    EXPECT_TRUE(waitUntil([&] { return !keptAbove(*window); }, 5)) << "a normal window again";
    EXPECT_FALSE(window->attachment()->linked());
}

TEST_F(WindowPinning, LinkedWindowsMoveTogetherEitherWay) {
    link();
    PlayerWindowAttachment* attachment = window->attachment();
    ASSERT_TRUE(waitUntil([&] { return attachment->offset() == QPoint(30, -150); }, 5))
        << "the distance at linking is kept; recorded " << attachment->offset().x() << ", " << attachment->offset().y();

    // The player's window moved as a user's drag would: Kelvara follows by as much.
    player->moveWindow({160, 420});
    EXPECT_TRUE(waitUntil([&] { return window->frameGeometry().topLeft() == QPoint(190, 270); }, 5))
        << "Kelvara at " << window->frameGeometry().x() << ", " << window->frameGeometry().y();

    // Kelvara dragged: the player's window keeps the recorded distance.
    window->move(230, 200);
    EXPECT_TRUE(waitUntil([&] { return player->windowPosition() == QPoint(200, 350); }, 5))
        << "player at " << player->windowPosition().x() << ", " << player->windowPosition().y();

    // Settled, neither window creeps after the other.
    QTest::qWait(500);
    EXPECT_EQ(player->windowPosition(), QPoint(200, 350));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(230, 200));
    EXPECT_EQ(state->pin().pinMode(), PinControl::Linked);
}

// Dragged by its background, a linked window moves and takes the player's window along; a
// window pinned to its place stays where it is.
TEST_F(WindowPinning, OnlyAPinnedWindowCannotBeDragged) {
    link();
    ASSERT_TRUE(waitUntil([&] { return window->attachment()->offset() == QPoint(30, -150); }, 5));
    dragBackground({60, -40});
    EXPECT_TRUE(waitUntil([&] { return window->frameGeometry().topLeft() == QPoint(190, 210); }, 5))
        << "Kelvara at " << window->frameGeometry().x() << ", " << window->frameGeometry().y();
    EXPECT_TRUE(waitUntil([&] { return player->windowPosition() == QPoint(160, 360); }, 5))
        << "player at " << player->windowPosition().x() << ", " << player->windowPosition().y();

    state->pin().unpin();
    state->pin().cyclePinMode();
    ASSERT_EQ(state->pin().pinMode(), PinControl::Pinned);
    dragBackground({-80, 50});
    QTest::qWait(500);
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(190, 210));
    EXPECT_EQ(player->windowPosition(), QPoint(160, 360));
}

TEST_F(WindowPinning, APlayerWindowThatCannotMoveEndsTheLink) {
    link();
    ASSERT_TRUE(waitUntil([&] { return window->attachment()->offset() == QPoint(30, -150); }, 5));
    EXPECT_EQ(player->command("fullscreen"), "ok");
    ASSERT_TRUE(waitUntil([&] { return player->windowPosition() == QPoint(0, 0); }, 5));
    window->move(300, 100);
    ASSERT_TRUE(waitUntil([&] { return state->pin().pinMode() == PinControl::Pinned; }, 5));
    EXPECT_EQ(state->pin().pinError(), L("Music не разрешает перемещать это окно. Выйдите из полноэкранного режима."));
}

TEST_F(WindowPinning, ThePlayerQuittingFallsBackToPinned) {
    link();
    ASSERT_TRUE(waitUntil([&] { return window->attachment()->offset() == QPoint(30, -150); }, 5));
    player.reset();
    ASSERT_TRUE(waitUntil([&] { return state->pin().pinMode() == PinControl::Pinned; }, 5));
    EXPECT_EQ(state->pin().pinError(), L("Music закрыта — связь окон отключена."));
    EXPECT_EQ(window->content()->noticeRow()->message(), L("Music закрыта — связь окон отключена."));
    EXPECT_TRUE(keptAbove(*window));
}

TEST_F(WindowPinning, OnlyANormalWindowLargerThan200By100IsLinked) {
    followPlayer({200, 100});
    pinTwice();
    ASSERT_TRUE(waitUntil([&] { return state->pin().pinMode() == PinControl::Pinned; }, 5));
    EXPECT_EQ(state->pin().pinError(), L("Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова."));

    X11DesktopWindows desktop;
    ASSERT_TRUE(desktop.reachable());
    EXPECT_EQ(player->reportedProcessId(), player->processId());
    EXPECT_FALSE(desktop.findStandardWindow(static_cast<std::uint32_t>(player->processId())));
    player.reset();
    followPlayer({400, 300}, QStringLiteral("dialog"));
    state->pin().cyclePinMode();
    ASSERT_TRUE(waitUntil([&] { return state->pin().pinMode() == PinControl::Pinned; }, 5)) << "a dialog is not the player's window";
    EXPECT_FALSE(desktop.findStandardWindow(static_cast<std::uint32_t>(player->processId())));
    player.reset();
    player = playerWithWindow({201, 101});
    EXPECT_TRUE(waitUntil([&] { return desktop.findStandardWindow(static_cast<std::uint32_t>(player->processId())).has_value(); }, 5));
}

}  // namespace
}  // namespace kelvara::testing
