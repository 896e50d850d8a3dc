// SPDX-License-Identifier: GPL-3.0-or-later
// Pinning under X11 with a window manager: above other windows in modes 1 and 2, and linked
// with the stand-in player's own window so that either one drags the other along.
#include "desktop/player_window_attachment.h"
#include "desktop/x11_desktop_windows.h"
#include "i18n/l.h"
#include "player_directory.h"
#include "ui/content_view.h"
#include "ui/message_row.h"
#include "ui/toolbar.h"
#include "ui/window_commands.h"
#include "wait_until.h"
#include "window_pinning.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace kelvara::testing {
namespace {

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
