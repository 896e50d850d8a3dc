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
    // The window's language, which a bridge child speaks instead of resolving its own, so
    // that a language change waiting for the next launch does not reach it.
    std::optional<AppLanguage> language;
    // Run beside a window already open instead of raising it (tests run several).
    bool newInstance = false;

    // `arguments` without the program name. `--music-bridge` and `--new-instance` count only
    // as whole arguments.
    static LaunchOptions parse(const QStringList& arguments);

    // The arguments that start a bridge child speaking `language`.
    static QStringList bridgeArguments(AppLanguage language);
};

}  // namespace kelvara
