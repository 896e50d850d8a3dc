// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/localization.h"

#include <QTranslator>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <mutex>

namespace kelvara {

namespace {

// Every table keeps its texts in this one context, keyed by the Russian text.
constexpr const char* tableContext = "Kelvara";

// The compiled tables are embedded in the binary (see src/core/CMakeLists.txt). Each is
// loaded on its first lookup and kept for the whole run; a loaded QTranslator is only read,
// so lookups from several threads need no lock.
class TranslationTables {
public:
    static const QTranslator& forLanguage(AppLanguage language) {
        static TranslationTables tables;
        const auto index = static_cast<std::size_t>(language.value());
        std::call_once(tables.loaded_[index], [&] { tables.load(index, language); });
        return tables.translators_[index];
    }

private:
    void load(std::size_t index, AppLanguage language) {
        const QString path = QStringLiteral(":/i18n/kelvara_%1.qm").arg(language.id());
        if (!translators_[index].load(path)) {
            qWarning("Translation table %s is missing from the build", qUtf8Printable(path));
        }
    }

    std::array<QTranslator, 4> translators_;
    std::array<std::once_flag, 4> loaded_;
};

}  // namespace

std::optional<QString> Localization::translation(const QString& key, AppLanguage language) {
    const QString text = TranslationTables::forLanguage(language).translate(tableContext, key.toUtf8().constData());
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace kelvara
