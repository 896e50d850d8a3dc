// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"
#include "launch_options.h"
#include "music_bridge.h"
#include "ui/kelvara_application.h"

#include <QCoreApplication>

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }
    return arguments;
}

// No window and no GUI platform: the child runs with no display at all.
int runMusicBridge(int argc, char* argv[], std::optional<kelvara::AppLanguage> parentLanguage) {
    // With the window's language given, the child must not store its own choice: that would
    // overwrite a change the user made for the next launch.
    if (parentLanguage) {
        kelvara::AppLanguage::fixCurrent(*parentLanguage);
    } else {
        kelvara::AppLanguage::prepareLaunch();
    }
    QCoreApplication application(argc, argv);
    kelvara::MusicBridge::serve();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const kelvara::LaunchOptions options = kelvara::LaunchOptions::parse(argumentsOf(argc, argv));
    if (options.musicBridge) {
        return runMusicBridge(argc, argv, options.language);
    }
    kelvara::AppLanguage::prepareLaunch();
    return kelvara::KelvaraApplication::run(argc, argv, options);
}
