// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kelvara_application.h"

#include "app_state.h"
#include "desktop/compositor_probe.h"
#include "i18n/platform_texts.h"
#include "ui/dark_theme.h"
#include "ui/kelvara_window.h"

#include <QApplication>

namespace kelvara {

int KelvaraApplication::run(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvara"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvara"));
    DarkTheme::apply(application);
    const PlatformTexts platformTexts(AppLanguage::current());
    AppState state;
    KelvaraWindow window(state, CompositorProbe::isCompositing());
    window.show();
    return QApplication::exec();
}

}  // namespace kelvara
