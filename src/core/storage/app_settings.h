// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace kelvara {

// The user settings shared by both programs: $XDG_CONFIG_HOME/local.kelvara/waveform.conf.
// Opened by file name rather than through QCoreApplication so that it works before (or
// without) an application object, in the installer, which reads the window's language choice,
// and so that the folder is looked up each time instead of once per process.
class AppSettings {
public:
    static constexpr const char* organisation = "local.kelvara";
    static constexpr const char* application = "waveform";

    static QString filePath() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
            + QLatin1String(organisation) + QLatin1Char('/') + QLatin1String(application) + QStringLiteral(".conf");
    }

    static std::unique_ptr<QSettings> open() { return std::make_unique<QSettings>(filePath(), QSettings::IniFormat); }
};

}  // namespace kelvara
