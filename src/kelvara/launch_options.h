// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"

#include <QStringList>

#include <optional>

namespace kelvara {

// What the command line asks of the kelvara executable.
struct LaunchOptions {
    static constexpr const char* musicBridgeArgument = "--music-bridge";
    static constexpr const char* languagePrefix = "--language=";
    static constexpr const char* newInstanceArgument = "--new-instance";

    bool musicBridge = false;  // run as the windowless bridge child
    bool help = false;         // --help or -h: print the usage and stop, no window
    bool version = false;      // --version: print the version and stop, no window
    // The window's language, which a bridge child speaks instead of resolving its own, so
    // that a language change waiting for the next launch does not reach it.
    std::optional<AppLanguage> language;
    // Run beside a window already open instead of raising it (tests run several).
    bool newInstance = false;

    // `arguments` without the program name. Each option counts only as a whole argument;
    // others are left to Qt.
    static LaunchOptions parse(const QStringList& arguments);

    // The arguments that start a bridge child speaking `language`.
    static QStringList bridgeArguments(AppLanguage language);
};

}  // namespace kelvara
