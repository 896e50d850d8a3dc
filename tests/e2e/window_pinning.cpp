// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_pinning.h"

#include "bus_environment.h"
#include "desktop/x11_desktop_windows.h"
#include "player_directory.h"
#include "ui/content_view.h"
#include "ui/toolbar.h"
#include "wait_until.h"

#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kelvara::testing {
namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The real pointer, moved and pressed through the X server as a user's hand would.
bool pointer(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(10'000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool pointerTo(QPoint at) { return pointer({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}); }

}  // namespace

bool WindowPinning::keptAbove(const QWidget& window) {
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

std::unique_ptr<StandInProcess> WindowPinning::playerWithWindow(QSize size, const QString& type) {
    return std::make_unique<StandInProcess>(QStringLiteral("standin"), QList<QJsonObject>{}, QStringLiteral("Paused"), 1.0,
                                            QStringList{}, StandInWindow{size, type});
}

void WindowPinning::SetUp() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
    }
    windowManager = std::make_unique<WindowManager>();
    ASSERT_TRUE(windowManager->ready()) << "openbox did not take the screen";
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

void WindowPinning::TearDown() {
    window.reset();
    state.reset();
    QTest::qWait(100);
    player.reset();
    bus.reset();
}

void WindowPinning::pressPin() { window->content()->toolbar()->pinButton()->click(); }

void WindowPinning::followPlayer(QSize size, const QString& type) {
    player = playerWithWindow(size, type);
    ASSERT_TRUE(waitUntil([&] { return state->playback().players().followed().has_value(); }, 10));
}

void WindowPinning::pinTwice() {
    state->pin().cyclePinMode();
    state->pin().cyclePinMode();
}

void WindowPinning::link() {
    followPlayer({400, 300});
    player->moveWindow({100, 400});
    window->move((QPointF(130, 250) / window->devicePixelRatio()).toPoint());
    // Qt answers a move at once; the X server's answer is what linking reads.
    X11DesktopWindows desktop;
    std::optional<DesktopWindows::WindowId> playerWindow;
    ASSERT_TRUE(waitUntil([&] { return (playerWindow = desktop.findStandardWindow(static_cast<std::uint32_t>(player->processId()))).has_value(); }, 5));
    const auto ownWindow = static_cast<DesktopWindows::WindowId>(window->winId());
    ASSERT_TRUE(waitUntil([&] { return desktop.topLeft(*playerWindow) == QPoint(100, 400) && desktop.topLeft(ownWindow) == QPoint(130, 250); }, 5));
    pinTwice();
    ASSERT_EQ(state->pin().pinMode(), PinControl::Linked) << state->pin().pinError().value_or(QString()).toStdString();
}

void WindowPinning::dragBackground(QPoint by) {
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

}  // namespace kelvara::testing
