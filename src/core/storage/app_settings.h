// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

#include <memory>

namespace kelvara {

// The user settings shared by both programs: ~/.config/local.kelvara/waveform.conf.
// Opened by name rather than through QCoreApplication so that it works before (or without)
// an application object and in the installer, which reads the window's language choice.
class AppSettings {
public:
    static constexpr const char* organisation = "local.kelvara";
    static constexpr const char* application = "waveform";

    static std::unique_ptr<QSettings> open() {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application);
    }
};

}  // namespace kelvara
