// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_files.h"
#include "storage/settings.h"
#include "test_home.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using kelvara::testing::AudioFiles;

namespace {

struct ToolRun {
    int status;
    QStringList lines;
};

// Runs the tool in the test's home, in Russian, so the texts are their keys.
ToolRun analyze(const QStringList& arguments) {
    QProcess process;
    process.setProgram(qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/tools/kelvara-analyze/kelvara-analyze"));
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(60'000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return {process.exitCode(), output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

TEST(KelvaraAnalyzeTest, AnalysesThroughTheCacheAndReportsFailures) {
    kelvara::testing::TestHome home;
    kelvara::Settings().setLanguage(QStringLiteral("ru"));
    AudioFiles files;
    const QString clicks = files.clickTrack(QStringLiteral("clicks.wav"), 120, 24, 0.5);
    const QString cut = files.truncatedCopy(clicks, QStringLiteral("cut.wav"), 0.5);

    const ToolRun first = analyze({QStringLiteral("--json"), clicks});
    ASSERT_EQ(first.status, 0);
    ASSERT_EQ(first.lines.size(), 1);
    const QJsonObject fresh = QJsonDocument::fromJson(first.lines[0].toUtf8()).object();
    EXPECT_EQ(fresh.value(QStringLiteral("points")).toInt(), 32'768);
    EXPECT_NEAR(fresh.value(QStringLiteral("bpm")).toDouble(), 120, 0.1);
    EXPECT_FALSE(fresh.value(QStringLiteral("cached")).toBool());

    const ToolRun second = analyze({QStringLiteral("--json"), clicks, cut});
    EXPECT_EQ(second.status, 1);
    ASSERT_EQ(second.lines.size(), 2);
    EXPECT_TRUE(QJsonDocument::fromJson(second.lines[0].toUtf8()).object().value(QStringLiteral("cached")).toBool());
    EXPECT_EQ(QJsonDocument::fromJson(second.lines[1].toUtf8()).object().value(QStringLiteral("error")).toString(),
              QStringLiteral("Аудиофайл прочитан не полностью; результат не сохранён."));

    const ToolRun plain = analyze({QStringLiteral("--no-cache"), clicks});
    EXPECT_EQ(plain.status, 0);
    ASSERT_EQ(plain.lines.size(), 1);
    EXPECT_TRUE(plain.lines[0].startsWith(clicks + QStringLiteral(" — 12.500 с, точек: 32768, BPM 120.0")))
        << plain.lines[0].toStdString();
    EXPECT_TRUE(plain.lines[0].endsWith(QStringLiteral("проанализирован")));

    EXPECT_EQ(analyze({QStringLiteral("--help")}).status, 0);
    EXPECT_EQ(analyze({QStringLiteral("--frobnicate"), clicks}).status, 2);
}

}  // namespace
