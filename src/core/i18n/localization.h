// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvara {

// Text lookup: every user-visible text is written as its Russian text; the tables give
// the text for the language of the run, and {0}, {1} … are filled from the arguments.
class Localization {
public:
    // The translation of `key` for `language` (the language of the run when absent),
    // with its placeholders filled. A missing translation yields the Russian key.
    static QString text(const QString& key, const QStringList& args,
                        std::optional<AppLanguage> language = std::nullopt);

    // Replaces each {n} with args[n] when n is in range; others stay as written.
    static QString fillPlaceholders(const QString& templateText, const QStringList& args);

    // The stored translation of `key` for `language`, or nothing when the table has none.
    static std::optional<QString> translation(const QString& key, AppLanguage language);
};

}  // namespace kelvara
