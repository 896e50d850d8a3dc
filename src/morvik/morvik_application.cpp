// SPDX-License-Identifier: GPL-3.0-or-later
#include "morvik_application.h"

#include "i18n/app_language.h"
#include "i18n/platform_texts.h"
#include "installer_model.h"
#include "installer_window.h"
#include "lifecycle/quit_signals.h"
#include "morvik_options.h"
#include "storage/resource_paths.h"
#include "vocal/vocal_resources.h"

#include <QApplication>

namespace kelvara::morvik {

int MorvikApplication::run(int argc, char* argv[], const MorvikOptions& options) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvara"));
    const PlatformTexts platformTexts(AppLanguage::current());
    InstallerModel model(VocalResources::userFolder(), ResourcePaths::vocals());
    InstallerWindow window(model);
    const QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    window.show();
    if (options.install) {
        model.start();
    }
    return QApplication::exec();
}

}  // namespace kelvara::morvik
