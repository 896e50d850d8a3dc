// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "window_manager.h"
#include "private_bus.h"
#include "stand_in_process.h"
#include "test_home.h"
#include "ui/kelvara_window.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

namespace kelvara::testing {

// Pinning under X11 with openbox on a private bus: Kelvara's window shown, and on request a
// stand-in player with a window of its own, linked 150 px below Kelvara.
class WindowPinning : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Whether the window manager keeps the window above others, as it announces in _NET_WM_STATE.
    static bool keptAbove(const QWidget& window);
    static std::unique_ptr<StandInProcess> playerWithWindow(QSize size, const QString& type = QStringLiteral("normal"));

    void pressPin();
    void followPlayer(QSize size, const QString& type = QStringLiteral("normal"));
    void pinTwice();
    // A player with a window, followed, and Kelvara linked to it 150 px above its window; in
    // device pixels, as the desktop counts them.
    void link();
    // Drags the window by its background (the margin left of the strip) by `by` with the real
    // pointer (unscaled screens only), in steps, so that the window manager, once it has taken the drag over, sees
    // the pointer move on.
    void dragBackground(QPoint by);

    TestHome home;
    std::unique_ptr<WindowManager> windowManager;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<StandInProcess> player;
    std::unique_ptr<AppState> state;
    std::unique_ptr<KelvaraWindow> window;
};

}  // namespace kelvara::testing
