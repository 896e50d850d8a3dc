// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/localization.h"

#include <QRegularExpression>

namespace kelvara {

QString Localization::text(const QString& key, const QStringList& args, std::optional<AppLanguage> language) {
    const AppLanguage lang = language.value_or(AppLanguage::current());
    return fillPlaceholders(translation(key, lang).value_or(key), args);
}

QString Localization::fillPlaceholders(const QString& templateText, const QStringList& args) {
    static const QRegularExpression placeholder(QStringLiteral("\\{(\\d+)\\}"));
    QList<QRegularExpressionMatch> matches;
    for (auto it = placeholder.globalMatch(templateText); it.hasNext();) {
        matches.append(it.next());
    }
    // Last to first, so the earlier match ranges stay valid while later ones are replaced.
    QString result = templateText;
    for (auto match = matches.crbegin(); match != matches.crend(); ++match) {
        bool ok = false;
        const qlonglong n = match->captured(1).toLongLong(&ok);
        if (ok && n >= 0 && n < args.size()) {
            result.replace(match->capturedStart(), match->capturedLength(), args[static_cast<qsizetype>(n)]);
        }
    }
    return result;
}

}  // namespace kelvara
