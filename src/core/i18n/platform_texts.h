// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"

#include <QTranslator>

namespace kelvara {

// Qt's own texts (the file dialog, a text field's context menu, the message boxes' standard
// buttons) in the interface language, from the system's Qt translations, for as long as the
// object lives. Needs the application object. Without the system's tables Qt's English stays.
class PlatformTexts {
public:
    explicit PlatformTexts(AppLanguage language);
    ~PlatformTexts();
    PlatformTexts(const PlatformTexts&) = delete;
    PlatformTexts& operator=(const PlatformTexts&) = delete;

    bool installed() const { return installed_; }

private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace kelvara
