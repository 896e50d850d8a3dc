// SPDX-License-Identifier: GPL-3.0-or-later
// Linking on a screen that Qt scales by 2: the desktop counts device pixels and Qt its own, so
// the link keeps its distance in device pixels, and a drag of one device pixel, half a pixel
// of the window's own, is ignored.
#include "desktop/player_window_attachment.h"
#include "desktop/x11_desktop_windows.h"
#include "wait_until.h"
#include "window_pinning.h"
#include "x11_application.h"

#include <QTest>

namespace kelvara::testing {
namespace {

[[maybe_unused]] const auto* const x11Environment = ::testing::AddGlobalTestEnvironment(new X11Application("2"));

using ScaledWindowPinning = WindowPinning;

TEST_F(ScaledWindowPinning, TheLinkCountsDevicePixelsAndIgnoresAHalfPixelDrag) {
    ASSERT_EQ(window->devicePixelRatio(), 2);
    link();
    ASSERT_TRUE(waitUntil([&] { return window->attachment()->offset() == QPoint(30, -150); }, 5))
        << "recorded " << window->attachment()->offset().x() << ", " << window->attachment()->offset().y();

    // The player's window moved as a user's drag would: Kelvara follows by as many device pixels.
    X11DesktopWindows desktop;
    const auto own = static_cast<DesktopWindows::WindowId>(window->winId());
    player->moveWindow({160, 420});
    ASSERT_TRUE(waitUntil([&] { return desktop.topLeft(own) == QPoint(190, 270); }, 5));

    // Kelvara moved by one device pixel: the player's window stays.
    ASSERT_TRUE(desktop.moveTo(own, {191, 270}));
    ASSERT_TRUE(waitUntil([&] { return desktop.topLeft(own) == QPoint(191, 270); }, 5));
    QTest::qWait(500);
    EXPECT_EQ(player->windowPosition(), QPoint(160, 420));
    EXPECT_EQ(desktop.topLeft(own), QPoint(191, 270)) << "nor is Kelvara put back";

    // Two device pixels are one of its own: the player's window keeps the distance.
    ASSERT_TRUE(desktop.moveTo(own, {193, 270}));
    EXPECT_TRUE(waitUntil([&] { return player->windowPosition() == QPoint(163, 420); }, 5))
        << "player at " << player->windowPosition().x() << ", " << player->windowPosition().y();
}

}  // namespace
}  // namespace kelvara::testing
