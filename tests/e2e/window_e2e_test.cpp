// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program under X11 with a window manager and a compositor: mpv plays a generated
// track on a private bus, the window shows its waveform, and clicks on the strip seek mpv —
// or, with the seek lock on, leave it alone and say so.
#include "app_state.h"
#include "audio_files.h"
#include "bus_environment.h"
#include "desktop_helper.h"
#include "window_manager.h"
#include "i18n/l.h"
#include "mpv_player.h"
#include "paint_counter.h"
#include "private_bus.h"
#include "test_home.h"
#include "wait_until.h"
#include "x11_application.h"
#include "desktop/compositor_probe.h"
#include "ui/content_view.h"
#include "ui/input_view.h"
#include "ui/kelvara_window.h"
#include "ui/strip_geometry.h"
#include "ui/toolbar.h"
#include "ui/waveform_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <memory>

namespace kelvara::testing {
namespace {

[[maybe_unused]] const auto* const x11Environment = ::testing::AddGlobalTestEnvironment(new X11Application);

class WindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
        }
        windowManager = std::make_unique<WindowManager>();
        ASSERT_TRUE(windowManager->ready()) << "openbox did not take the screen";
        compositor = std::make_unique<DesktopHelper>(QStringLiteral("xcompmgr"));
        ASSERT_TRUE(waitUntil([] { return CompositorProbe::isCompositing(); }, 5)) << "xcompmgr did not take the screen";

        bus = std::make_unique<PrivateBus>();
        const QString track = files.clickTrack(QStringLiteral("clicks.wav"), 120, 64, 0.5);
        player = std::make_unique<MpvPlayer>(*bus, QStringList{track});

        state = std::make_unique<AppState>(busEnvironment(*bus));
        window = std::make_unique<KelvaraWindow>(*state, CompositorProbe::isCompositing());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        window.reset();
        state.reset();
        // Let the state's cancelled tasks run to their end before the player and bus go.
        QTest::qWait(100);
        player.reset();
        bus.reset();
    }

    double playerPosition() const {
        QDBusMessage get = QDBusMessage::createMethodCall(player->busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get.setAutoStartService(false);
        get << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("Position");
        const QDBusMessage reply = bus->connection().call(get, QDBus::Block, 2000);
        return static_cast<double>(reply.arguments().value(0).value<QDBusVariant>().variant().toLongLong()) / 1e6;
    }

    // What the screen shows of the window, composited; also kept in the build folder to look at.
    QImage screenshot(const QString& name) const {
        QTest::qWait(100);
        const QRect frame = window->frameGeometry();
        QImage image = QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
        image.save(qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/tests/e2e/") + name);
        return image;
    }

    // Pixels of the strip's waveform band with a clearly blue or green cast (the glass is grey).
    int colouredPixels(const QImage& image, const QWidget* strip) const {
        const QRect band(strip->mapTo(window.get(), QPoint(0, 0)), QSize(strip->width(), strip->height() - 18));
        int count = 0;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                count += std::max(pixel.blue(), pixel.green()) - pixel.red() > 50 ? 1 : 0;
            }
        }
        return count;
    }

    void click(double fraction) {
        InputView* input = window->content()->strip()->inputView();
        QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(static_cast<int>(input->width() * fraction), input->height() / 2));
    }

    TestHome home;
    AudioFiles files;
    std::unique_ptr<WindowManager> windowManager;
    std::unique_ptr<DesktopHelper> compositor;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<MpvPlayer> player;
    std::unique_ptr<AppState> state;
    std::unique_ptr<KelvaraWindow> window;
};

TEST_F(WindowEndToEnd, ClicksSeekThePlayerUnlessTheSeekLockIsOn) {
    WaveformView* strip = window->content()->strip();
    ASSERT_TRUE(waitUntil([&] { return state->analysis().waveform().has_value(); }, 30)) << state->analysis().analysisMessage().toStdString();
    ASSERT_TRUE(strip->hasWaveform());

    const QImage shown = screenshot(QStringLiteral("window_e2e_waveform.png"));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(Qt::black)) << "the rounded corner shows the desktop, not black";
    EXPECT_GT(colouredPixels(shown, strip), strip->width()) << "the clicks' bright band shows along the strip";

    // Unlocked: a click at three quarters seeks mpv to the square nearest that point.
    QToolButton* lock = window->content()->toolbar()->lockButton();
    ASSERT_TRUE(state->playback().seekLocked());
    lock->click();
    ASSERT_FALSE(state->playback().seekLocked());
    const double target = StripGeometry(strip->scene(), strip->width()).clickTarget(strip->width() * 0.75);
    click(0.75);
    ASSERT_TRUE(waitUntil([&] { return std::abs(playerPosition() - target) < 0.3; }, 5))
        << "mpv at " << playerPosition() << " s, expected " << target;

    // Locked: a click elsewhere leaves mpv where it is and shows the notice on the strip.
    lock->click();
    ASSERT_TRUE(state->playback().seekLocked());
    click(0.1);
    QTest::qWait(500);
    EXPECT_NEAR(playerPosition(), target, 0.3);
    EXPECT_EQ(state->playback().seekNotice(), L("Перемотка выключена · снимите замок"));
    const QImage refused = screenshot(QStringLiteral("window_e2e_locked.png"));
    EXPECT_NE(refused, shown);
}

// The keyboard commands of the window, as a person presses them.
TEST_F(WindowEndToEnd, ShortcutsLockZoomAndPlay) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(state->playback().seekLocked());
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(state->view().viewport().zoom, 1.5);
    QTest::keyClick(window.get(), Qt::Key_Underscore, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(state->view().viewport().zoom, 1);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_0, Qt::ShiftModifier);
    EXPECT_EQ(state->view().viewport(), WaveformViewport{});

    ASSERT_TRUE(waitUntil([&] { return state->canControl(); }, 10));
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_TRUE(waitUntil([&] { return state->playback().snapshot().playing(); }, 5)) << "Space plays";
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(state->marks().cues().size(), 1u) << "Ctrl+D adds a cue at the play position";
}

// The strip repaints only when something moves: never while the track is paused and the
// pointer rests, at most about 60 times a second while it plays.
TEST_F(WindowEndToEnd, PausedIdleWindowPaintsNothingAndPlayingAnimatesAtMostSixtyTimesASecond) {
    WaveformView* strip = window->content()->strip();
    ASSERT_TRUE(waitUntil([&] { return state->analysis().waveform().has_value(); }, 30)) << state->analysis().analysisMessage().toStdString();
    QTest::qWait(300);
    PaintCounter paints(strip);
    QTest::qWait(2000);
    EXPECT_EQ(paints.count, 0);
    EXPECT_FALSE(strip->isAnimating());

    window->content()->toolbar()->playButton()->click();
    ASSERT_TRUE(waitUntil([&] { return state->playback().snapshot().playing(); }, 5));
    EXPECT_TRUE(strip->isAnimating());
    paints.count = 0;
    QTest::qWait(1000);
    EXPECT_GT(paints.count, 5);
    EXPECT_LE(paints.count, 65);
}

}  // namespace
}  // namespace kelvara::testing
