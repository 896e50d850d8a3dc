// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"

#include "storage/settings.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

namespace kelvara {

namespace {

QMutex currentMutex;
std::optional<AppLanguage> fixedLanguage;

QStringList systemPreferredLanguages() {
    return QLocale::system().uiLanguages();
}

}  // namespace

std::array<AppLanguage, 4> AppLanguage::allCases() {
    return {Case::Russian, Case::English, Case::German, Case::Spanish};
}

std::optional<AppLanguage> AppLanguage::fromId(const QString& id) {
    for (AppLanguage language : allCases()) {
        if (language.id() == id) {
            return language;
        }
    }
    return std::nullopt;
}

AppLanguage AppLanguage::resolve(const std::optional<QString>& saved, const QStringList& preferred) {
    if (saved) {
        if (auto language = fromId(*saved)) {
            return *language;
        }
    }
    for (QString tag : preferred) {
        tag.replace(QLatin1Char('_'), QLatin1Char('-'));
        const QStringList pieces = tag.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        const QString primary = pieces.isEmpty() ? QString() : pieces.first();
        if (auto language = fromId(primary)) {
            return *language;
        }
    }
    return Case::English;
}

AppLanguage AppLanguage::current() {
    QMutexLocker lock(&currentMutex);
    if (!fixedLanguage) {
        fixedLanguage = resolve(Settings().language(), systemPreferredLanguages());
    }
    return *fixedLanguage;
}

bool AppLanguage::fixCurrent(AppLanguage language) {
    QMutexLocker lock(&currentMutex);
    if (fixedLanguage) {
        return *fixedLanguage == language;
    }
    fixedLanguage = language;
    return true;
}

void AppLanguage::prepareLaunch() {
    const AppLanguage language = current();
    Settings settings;
    settings.setLanguage(language.id());
    settings.setPlatformLanguages({language.id()});
}

QString AppLanguage::id() const {
    switch (value_) {
    case Case::Russian: return QStringLiteral("ru");
    case Case::English: return QStringLiteral("en");
    case Case::German: return QStringLiteral("de");
    case Case::Spanish: return QStringLiteral("es");
    }
    return QStringLiteral("en");
}

QString AppLanguage::name() const {
    switch (value_) {
    case Case::Russian: return QStringLiteral("Русский");
    case Case::English: return QStringLiteral("English");
    case Case::German: return QStringLiteral("Deutsch");
    case Case::Spanish: return QStringLiteral("Español");
    }
    return QStringLiteral("English");
}

}  // namespace kelvara
