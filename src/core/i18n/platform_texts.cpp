// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/platform_texts.h"

#include "logging/log_categories.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace kelvara {

PlatformTexts::PlatformTexts(AppLanguage language) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString table = QStringLiteral("qtbase_") + language.id();
    if (!translator_.load(table, folder)) {
        qCWarning(windowLog) << "No Qt translation" << table << "in" << folder;
        return;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
}

PlatformTexts::~PlatformTexts() {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

}  // namespace kelvara
