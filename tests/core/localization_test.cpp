// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"
#include "i18n/localization.h"

#include <gtest/gtest.h>

using kelvara::AppLanguage;
using kelvara::Localization;

TEST(AppLanguageTest, ResolvesSavedChoiceThenSystemPreference) {
    using C = AppLanguage::Case;
    EXPECT_EQ(AppLanguage::resolve(QStringLiteral("de"), {QStringLiteral("es")}), C::German);
    EXPECT_EQ(AppLanguage::resolve(std::nullopt, {QStringLiteral("de-CH"), QStringLiteral("en-US")}), C::German);
    EXPECT_EQ(AppLanguage::resolve(std::nullopt, {QStringLiteral("pt-BR")}), C::English);
    EXPECT_EQ(AppLanguage::resolve(std::nullopt, {QStringLiteral("es_MX")}), C::Spanish);
    EXPECT_EQ(AppLanguage::resolve(std::nullopt, {}), C::English);
    // Case-sensitive: a stored "EN" is ignored and the system preference decides.
    EXPECT_EQ(AppLanguage::resolve(QStringLiteral("EN"), {QStringLiteral("ru-RU")}), C::Russian);
    EXPECT_EQ(AppLanguage::resolve(std::nullopt, {QStringLiteral("-ru")}), C::Russian);
}

TEST(LocalizationTest, FillsPlaceholdersInAnyOrderAndLeavesMissingOnes) {
    const QString key = QStringLiteral("Волна недоступна: {0}");
    EXPECT_EQ(Localization::text(key, {QStringLiteral("x")}, AppLanguage::Case::Russian),
              QStringLiteral("Волна недоступна: x"));
    EXPECT_EQ(Localization::text(key, {}, AppLanguage::Case::Russian), key);
    EXPECT_EQ(Localization::fillPlaceholders(QStringLiteral("{1} before {0}, {1} again, {2}"),
                                             {QStringLiteral("a"), QStringLiteral("b")}),
              QStringLiteral("b before a, b again, {2}"));
    EXPECT_EQ(Localization::fillPlaceholders(QStringLiteral("{99999999999999999999} {x}"), {QStringLiteral("a")}),
              QStringLiteral("{99999999999999999999} {x}"));
}
