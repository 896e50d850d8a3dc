// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch_options.h"

namespace kelvara {

LaunchOptions LaunchOptions::parse(const QStringList& arguments) {
    LaunchOptions options;
    options.musicBridge = arguments.contains(QLatin1String(musicBridgeArgument));
    options.help = arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
    options.version = arguments.contains(QLatin1String("--version"));
    options.newInstance = arguments.contains(QLatin1String(newInstanceArgument));
    if (options.musicBridge) {
        for (const QString& argument : arguments) {
            if (argument.startsWith(QLatin1String(languagePrefix))) {
                options.language = AppLanguage::fromId(argument.mid(qsizetype(qstrlen(languagePrefix))));
            }
        }
    }
    return options;
}

QStringList LaunchOptions::bridgeArguments(AppLanguage language) {
    return {QString::fromLatin1(musicBridgeArgument), QString::fromLatin1(languagePrefix) + language.id()};
}

}  // namespace kelvara
