// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/command_line.h"
#include "about/terminal_answer.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "launch_options.h"
#include "music_bridge.h"
#include "ui/kelvara_application.h"

#include <QCoreApplication>

namespace {

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

// What a terminal user asks first.
int answerOnTerminal(const kelvara::LaunchOptions& options) {
    using kelvara::L;
    return kelvara::answerOnTerminal(
        QStringLiteral("kelvara"), options.version,
        L("Использование: kelvara [--help] [--version]\n"
          "Показывает подробную звуковую волну трека, который играет MPRIS-плеер (mpv, Rhythmbox, "
          "Strawberry, Elisa, VLC …), с сеткой долей, метками и повторами.\n\n"
          "  --help     показать эту справку\n"
          "  --version  показать версию\n\n"
          "С переменной окружения QT_LOGGING_RULES=\"kelvara.*=true\" программа пишет подробности ошибок "
          "в стандартный поток ошибок."));
}

// Window pinning and linking need X11: on a Wayland session the window runs on XWayland
// unless the user chose a platform.
void preferX11() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const kelvara::LaunchOptions options = kelvara::LaunchOptions::parse(kelvara::commandLineArguments(argc, argv));
    if (options.musicBridge) {
        return runMusicBridge(argc, argv, options.language);
    }
    if (options.help || options.version) {
        return answerOnTerminal(options);
    }
    kelvara::AppLanguage::prepareLaunch();
    preferX11();
    return kelvara::KelvaraApplication::run(argc, argv, options);
}
