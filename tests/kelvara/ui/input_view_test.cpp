// SPDX-License-Identifier: GPL-3.0-or-later
// Raw events on the strip's input layer and the reports they turn into.
#include "ui/input_view.h"
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <vector>

namespace kelvara {
namespace {

struct Recorded {
    std::vector<std::pair<double, Qt::KeyboardModifiers>> clicks;
    std::vector<double> pans;
    std::vector<std::pair<double, double>> zooms;
    std::vector<double> origins;
    std::vector<int> adjusts;
    int cancels = 0;
    int stops = 0;
};

class InputViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(400, 80);
        WaveformInput input;
        input.click = [this](double x, Qt::KeyboardModifiers m) { got.clicks.emplace_back(x, m); };
        input.pan = [this](double d) { got.pans.push_back(d); };
        input.zoom = [this](double f, double a) { got.zooms.emplace_back(f, a); };
        input.origin = [this](double x) { got.origins.push_back(x); };
        input.adjust = [this](int steps) { got.adjusts.push_back(steps); };
        input.cancel = [this] { ++got.cancels; };
        input.stop = [this] { ++got.stops; };
        view.setActions(input);
    }

    void mouse(QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view.mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(&view, &event);
    }
    void press(QPointF at, Qt::KeyboardModifiers m = {}) { mouse(QEvent::MouseButtonPress, at, m); }
    void drag(QPointF to, Qt::KeyboardModifiers m = {}) { mouse(QEvent::MouseMove, to, m); }
    void release(QPointF at, Qt::KeyboardModifiers m = {}) { mouse(QEvent::MouseButtonRelease, at, m); }

    void wheel(QPoint pixels, QPoint angle) {
        QWheelEvent event(QPointF(100, 40), view.mapToGlobal(QPointF(100, 40)), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    }

    QApplication& app = testing::application();
    InputView view;
    Recorded got;
};

TEST_F(InputViewTest, PressMovedFourPointsIsAClick) {
    press({100, 40});
    drag({104, 40});
    release({104, 40});
    ASSERT_EQ(got.clicks.size(), 1u);
    EXPECT_EQ(got.clicks[0].first, 104);
    EXPECT_TRUE(got.pans.empty());
}

TEST_F(InputViewTest, PressMovedSixPointsPansAndNeverClicks) {
    press({100, 40});
    drag({103, 40});  // under the threshold: not panned, ever
    drag({106, 40});  // crosses it
    drag({96, 40});
    release({96, 40});
    EXPECT_TRUE(got.clicks.empty());
    ASSERT_EQ(got.pans.size(), 2u);
    EXPECT_DOUBLE_EQ(got.pans[0], -3.0 / 400);
    EXPECT_DOUBLE_EQ(got.pans[1], 10.0 / 400);
}

TEST_F(InputViewTest, ThresholdIsMeasuredAsADistanceFromThePress) {
    press({100, 40});
    drag({103, 44});  // exactly 5 points away: still a click
    release({103, 44});
    EXPECT_EQ(got.clicks.size(), 1u);
}

TEST_F(InputViewTest, CtrlLetGoBeforeTheMouseIsNoClick) {
    press({50, 40}, Qt::ControlModifier);
    release({50, 40});
    EXPECT_TRUE(got.clicks.empty());

    press({50, 40}, Qt::ControlModifier);
    release({50, 40}, Qt::ControlModifier | Qt::ShiftModifier);  // extra keys are fine
    ASSERT_EQ(got.clicks.size(), 1u);
    EXPECT_EQ(got.clicks[0].second, Qt::ControlModifier);
}

TEST_F(InputViewTest, ModifiersComeFromThePressNotTheRelease) {
    press({50, 40});
    release({50, 40}, Qt::AltModifier);
    ASSERT_EQ(got.clicks.size(), 1u);
    EXPECT_EQ(got.clicks[0].second, Qt::NoModifier);
}

TEST_F(InputViewTest, ReleaseWithoutPressAndQuickSecondClickBehave) {
    release({50, 40});
    EXPECT_TRUE(got.clicks.empty());

    // A double click is two clicks: two Ctrl-clicks make a loop.
    press({50, 40}, Qt::ControlModifier);
    release({50, 40}, Qt::ControlModifier);
    mouse(QEvent::MouseButtonDblClick, {300, 40}, Qt::ControlModifier);
    release({300, 40}, Qt::ControlModifier);
    ASSERT_EQ(got.clicks.size(), 2u);
    EXPECT_EQ(got.clicks[1].first, 300);
}

TEST_F(InputViewTest, WheelNotchPansTwelvePointsAndTouchpadOnePoint) {
    wheel({}, {0, 120});
    wheel({0, 1}, {0, 120});
    wheel({}, {-240, 120});  // horizontal wins when larger
    ASSERT_EQ(got.pans.size(), 3u);
    EXPECT_DOUBLE_EQ(got.pans[0], -12.0 / 400);
    EXPECT_DOUBLE_EQ(got.pans[1], -1.0 / 400);
    EXPECT_DOUBLE_EQ(got.pans[2], 24.0 / 400);
}

TEST_F(InputViewTest, PinchZoomsAroundThePointer) {
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, QPointF(100, 40),
                              QPointF(100, 40), view.mapToGlobal(QPointF(100, 40)), std::log(2.0), QPointF());
    QApplication::sendEvent(&view, &pinch);
    ASSERT_EQ(got.zooms.size(), 1u);
    EXPECT_NEAR(got.zooms[0].first, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(got.zooms[0].second, 0.25);
}

TEST_F(InputViewTest, EscapeCancelsArrowsSeekAndOtherKeysPassOn) {
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Right);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&view, &space);
    EXPECT_EQ(got.cancels, 1);
    EXPECT_EQ(got.adjusts, (std::vector<int>{-1, 1}));
    EXPECT_FALSE(space.isAccepted());
}

TEST_F(InputViewTest, ContextMenuOffersStopCancelAndSquareStart) {
    view.show();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(123, 30), view.mapToGlobal(QPoint(123, 30)));
    QApplication::sendEvent(&view, &event);
    auto* menu = view.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    for (QAction* item : items) {
        item->trigger();
    }
    EXPECT_EQ(got.stops, 1);
    EXPECT_EQ(got.cancels, 1);
    EXPECT_EQ(got.origins, (std::vector<double>{123}));
    menu->close();
}

}  // namespace
}  // namespace kelvara
