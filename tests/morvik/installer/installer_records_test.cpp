// SPDX-License-Identifier: GPL-3.0-or-later
// How the model turns progress records, as the worker and the install script send them, into
// what the window shows.
#include "installer_model.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace kelvara::testing {
namespace {

using morvik::InstallerModel;

// A record as the install script prints it: a JSON line, where every number is a double.
QVariantMap scriptLine(const char* json) {
    return QJsonDocument::fromJson(QByteArray(json)).object().toVariantMap();
}

class InstallerRecords : public ::testing::Test {
protected:
    InstallerModel model{QStringLiteral("/nonexistent"), std::nullopt};
};

TEST_F(InstallerRecords, StartsIdleAndCannotStartWithoutItsFiles) {
    model.start();
    EXPECT_FALSE(model.busy());
    EXPECT_EQ(model.title(), QStringLiteral("Вокальный модуль"));
    EXPECT_EQ(model.detail(), QStringLiteral("Нажмите «Установить». Всё остальное установщик сделает сам."));
    EXPECT_EQ(model.stage(), 0);
    model.cancel();
    EXPECT_FALSE(model.stopping()) << "nothing to stop";
    EXPECT_EQ(model.detail(), QStringLiteral("Нажмите «Установить». Всё остальное установщик сделает сам."));
}

TEST_F(InstallerRecords, StageThreeShowsTheLongDownloadTextUntilADetailReplacesIt) {
    model.receive({{QStringLiteral("download"), 10}, {QStringLiteral("total"), 20}});
    model.receive(scriptLine(R"({"stage": 3, "title": "Загрузка Python…"})"));
    EXPECT_EQ(model.stage(), 3);
    EXPECT_EQ(model.title(), QStringLiteral("Загрузка Python…"));
    EXPECT_EQ(model.detail(), QStringLiteral("Скачиваем и устанавливаем компоненты. Это может занять несколько минут."));
    EXPECT_FALSE(model.progress().has_value()) << "a new stage starts without an amount";

    model.receive(scriptLine(R"({"detail": "numpy"})"));
    EXPECT_EQ(model.detail(), QStringLiteral("numpy"));
    EXPECT_EQ(model.title(), QStringLiteral("Загрузка Python…"));

    model.receive(scriptLine(R"({"stage": 2, "title": 7})"));
    EXPECT_EQ(model.title(), QString()) << "a title that is not text shows nothing";
    EXPECT_EQ(model.detail(), QStringLiteral("Оставьте окно открытым — установка продолжается."));

    model.receive(scriptLine(R"({"stage": 4, "title": "x", "detail": "Проверка"})"));
    EXPECT_EQ(model.detail(), QStringLiteral("Проверка")) << "the record's own detail wins over the stage's";

    model.receive(scriptLine(R"({"stage": 3.5, "title": "y"})"));
    EXPECT_EQ(model.stage(), 4) << "a step number must be whole";
    EXPECT_EQ(model.title(), QStringLiteral("x"));
}

TEST_F(InstallerRecords, DownloadShowsTheAmountAndTheTotalOnlyWhenKnown) {
    model.receive(scriptLine(R"({"download": 1500000, "total": -1})"));
    EXPECT_EQ(model.detail(), QStringLiteral("1,5 МБ"));
    EXPECT_FALSE(model.progress().has_value());

    model.receive({{QStringLiteral("download"), qint64(1'500'000)}, {QStringLiteral("total"), qint64(6'000'000)}});
    EXPECT_EQ(model.detail(), QStringLiteral("1,5 МБ / 6,0 МБ"));
    ASSERT_TRUE(model.progress().has_value());
    EXPECT_DOUBLE_EQ(*model.progress(), 0.25);

    model.receive(scriptLine(R"({"download": 7000000, "total": 6000000})"));
    EXPECT_DOUBLE_EQ(model.progress().value_or(0), 1.0) << "more than announced is still full, not more";

    model.receive(scriptLine(R"({"download": 5})"));
    EXPECT_DOUBLE_EQ(model.progress().value_or(0), 1.0) << "an amount without a total is no download record";

    model.receive(scriptLine(R"({"detail": "Распаковка Python…"})"));
    EXPECT_FALSE(model.progress().has_value());
}

TEST_F(InstallerRecords, ScriptErrorIsShownAndAMalformedOneKeepsIt) {
    model.receive(scriptLine(R"({"error": "Нет места", "detail": "pip"})"));
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("Нет места"));
    EXPECT_EQ(model.detail(), QStringLiteral("pip"));
    model.receive(scriptLine(R"({"error": ["not", "text"]})"));
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("Нет места"));
}

}  // namespace
}  // namespace kelvara::testing
