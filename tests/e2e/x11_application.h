// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/dark_theme.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include <memory>

namespace kelvara::testing {

// An X11 application object from before the first test to after the last (none without a
// display: the tests then skip), at the given Qt scale factor, which only the application's
// start can set.
class X11Application : public ::testing::Environment {
public:
    explicit X11Application(QByteArray scaleFactor = "1") : scaleFactor_(std::move(scaleFactor)) {}

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            return;
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_SCALE_FACTOR", scaleFactor_);
        application_ = std::make_unique<QApplication>(argc_, argv_);
        // The players and helpers the tests start draw at their own scale.
        qunsetenv("QT_SCALE_FACTOR");
        DarkTheme::apply(*application_);
    }
    void TearDown() override { application_.reset(); }

private:
    QByteArray scaleFactor_;
    int argc_ = 1;
    char name_[10] = "e2e_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

}  // namespace kelvara::testing
