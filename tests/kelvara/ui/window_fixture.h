// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "test_home.h"
#include "ui/kelvara_window.h"
#include "ui_test_support.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvara::testing {

// A fresh home, an AppState (bridge child: the built kelvara) and the window over it,
// offscreen and not shown, so nothing polls: tests hand the state snapshots themselves.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture();
    ~WindowFixture() override;

    // (Re)creates the state and the window, as a start of the program does.
    void openWindow();

    // A track the player has paused at `position`.
    static MusicSnapshot track(const QString& path, double duration, double position = 0);

    // A press and release on the strip at x, with the modifiers held throughout.
    void clickStrip(double x, Qt::KeyboardModifiers modifiers = {});

    QApplication& app = application();
    TestHome home;
    std::unique_ptr<AppState> state;
    std::unique_ptr<KelvaraWindow> window;
};

}  // namespace kelvara::testing
