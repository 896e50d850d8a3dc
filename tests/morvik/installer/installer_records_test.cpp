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

TEST_F(InstallerRecords, StepsTakeTheirTextsOnlyFromWellFormedValues) {
    model.receive({{QStringLiteral("download"), 10}, {QStringLiteral("total"), 20}});
    model.receive(scriptLine(R"({"stage": 2, "title": 7})"));
    EXPECT_EQ(model.stage(), 2);
    EXPECT_EQ(model.title(), QString()) << "a title that is not text shows nothing";
    EXPECT_EQ(model.detail(), QStringLiteral("Оставьте окно открытым — установка продолжается."));
    EXPECT_FALSE(model.progress().has_value()) << "a new step starts without an amount";

    model.receive(scriptLine(R"({"stage": 4, "title": "x", "detail": "Проверка", "error": "Нет места"})"));
    EXPECT_EQ(model.detail(), QStringLiteral("Проверка")) << "the record's own detail wins over the step's";
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("Нет места"));

    model.receive(scriptLine(R"({"stage": 3.5, "title": "y", "error": ["not", "text"]})"));
    EXPECT_EQ(model.stage(), 4) << "a step number must be whole";
    EXPECT_EQ(model.title(), QStringLiteral("x"));
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("Нет места"));
}

TEST_F(InstallerRecords, DownloadAmountsAreClampedAndNeedBothNumbers) {
    model.receive(scriptLine(R"({"download": 7000000, "total": 6000000})"));
    EXPECT_EQ(model.detail(), QStringLiteral("7,0 МБ / 6,0 МБ"));
    EXPECT_DOUBLE_EQ(model.progress().value_or(0), 1.0) << "more than announced is full, not more";
    model.receive(scriptLine(R"({"download": 5})"));
    EXPECT_DOUBLE_EQ(model.progress().value_or(0), 1.0) << "an amount without a total is no download record";
    model.receive(scriptLine(R"({"download": 1500000, "total": -1})"));
    EXPECT_EQ(model.detail(), QStringLiteral("1,5 МБ"));
    EXPECT_FALSE(model.progress().has_value());
}

}  // namespace
}  // namespace kelvara::testing
