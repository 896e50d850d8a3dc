// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kelvara_application.h"

#include "app_state.h"
#include "control/single_instance.h"
#include "control/waveform_control.h"
#include "desktop/compositor_probe.h"
#include "i18n/platform_texts.h"
#include "launch_options.h"
#include "lifecycle/quit_signals.h"
#include "ui/dark_theme.h"
#include "ui/kelvara_window.h"
#include "ui/quit_guard.h"

#include <QApplication>

namespace kelvara {

namespace {

void bringToFront(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int KelvaraApplication::run(int argc, char* argv[], const LaunchOptions& options) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvara"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvara"));
    DarkTheme::apply(application);
    const PlatformTexts platformTexts(AppLanguage::current());
    AppState state;
    KelvaraWindow window(state, CompositorProbe::isCompositing());
    // The object is on the bus before the name, so a second instance never finds the name
    // without the object that raises the window.
    WaveformControl control(state, QDBusConnection::sessionBus());
    QObject::connect(&control, &WaveformControl::raiseRequested, &window, [&window] { bringToFront(window); });
    if (!SingleInstance::claim(QDBusConnection::sessionBus(), options.newInstance)) {
        return 0;
    }
    // Quits that cannot wait for the event loop hand playback back before they return.
    QuitGuard& guard = *window.quitGuard();
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &guard, &QuitGuard::handBackNow);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &guard, &QuitGuard::handBackNow);
    const QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    window.show();
    return QApplication::exec();
}

}  // namespace kelvara
