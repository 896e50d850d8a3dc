// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_files.h"
#include "storage/file_identity.h"
#include "storage/settings.h"
#include "storage/waveform_cache.h"
#include "test_home.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using kelvara::testing::AudioFiles;

namespace {

struct ToolRun {
    int status;
    QStringList lines;
    QStringList errors;
};

// Runs the tool in the test's home, in Russian, so the texts are their keys.
ToolRun analyze(const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/tools/kelvara-analyze/kelvara-analyze"));
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(60'000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    const QString errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return {process.exitCode(), output.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
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

// The analysis is the result; an entry that cannot be stored (here a folder stands in its
// place) costs only a warning. The window's settings are read, never written.
TEST(KelvaraAnalyzeTest, ACacheThatCannotBeWrittenIsOnlyAWarning) {
    kelvara::testing::TestHome home;
    kelvara::Settings().setLanguage(QStringLiteral("ru"));
    const QString settingsFile = home.configHome() + QStringLiteral("/local.kelvara/waveform.conf");
    ASSERT_TRUE(QFileInfo::exists(settingsFile));
    const QDateTime settingsWritten = QFileInfo(settingsFile).lastModified();
    AudioFiles files;
    const QString tone = files.tone(QStringLiteral("tone.wav"), 2);
    const QString other = files.tone(QStringLiteral("other.wav"), 1);
    for (const QString& file : {tone, other}) {
        ASSERT_TRUE(QDir().mkpath(kelvara::WaveformCache().fileFor(kelvara::FileIdentity::of(file))));
    }

    for (int run = 0; run < 2; ++run) {
        const ToolRun result = analyze({tone, other});
        EXPECT_EQ(result.status, 0);
        ASSERT_EQ(result.lines.size(), 2);
        EXPECT_TRUE(result.lines[0].startsWith(tone + QStringLiteral(" — 2.000 с"))) << result.lines[0].toStdString();
        EXPECT_TRUE(result.lines[0].endsWith(QStringLiteral("проанализирован")));
        ASSERT_EQ(result.errors.size(), 1) << result.errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(result.errors[0].startsWith(QStringLiteral("Предупреждение: кэш не записан: ")));
    }
    EXPECT_EQ(QFileInfo(settingsFile).lastModified(), settingsWritten);
}

TEST(KelvaraAnalyzeTest, AnalysesSeveralAtOnceAndAnswersInTheOrderGiven) {
    kelvara::testing::TestHome home;
    kelvara::Settings().setLanguage(QStringLiteral("ru"));
    AudioFiles files;
    QStringList batch;
    for (int i = 0; i < 4; ++i) {
        batch.append(files.tone(QStringLiteral("tone%1.wav").arg(i), 1.0 + 0.5 * i));
    }
    batch.insert(1, files.truncatedCopy(batch[0], QStringLiteral("cut.wav"), 0.5));

    const ToolRun result = analyze(QStringList{QStringLiteral("--jobs"), QStringLiteral("3")} + batch);
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(result.lines.size(), batch.size());
    for (qsizetype i = 0; i < batch.size(); ++i) {
        EXPECT_TRUE(result.lines[i].startsWith(batch[i])) << result.lines[i].toStdString();
    }
    EXPECT_EQ(result.lines[1], batch[1] + QStringLiteral(": Аудиофайл прочитан не полностью; результат не сохранён."));

    EXPECT_EQ(analyze({QStringLiteral("--jobs"), QStringLiteral("0"), batch[0]}).status, 2);
    EXPECT_EQ(analyze({batch[0], QStringLiteral("--jobs")}).status, 2);
}

// FFmpeg's libraries cost a run as much as filtering a WAV file: a file read without them
// never loads them.
TEST(KelvaraAnalyzeTest, LoadsFfmpegOnlyForFilesThatNeedIt) {
    kelvara::testing::TestHome home;
    AudioFiles files;
    const QString wav = files.tone(QStringLiteral("tone.wav"), 1);
    const QString flac = files.encode(wav, QStringLiteral("tone.flac"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    const auto loadsFfmpeg = [&](const QString& file) {
        const ToolRun run = analyze({QStringLiteral("--no-cache"), file}, environment);
        EXPECT_EQ(run.status, 0);
        return run.errors.join(QLatin1Char('\n')).contains(QStringLiteral("libavcodec.so"));
    };
    EXPECT_FALSE(loadsFfmpeg(wav));
    EXPECT_TRUE(loadsFfmpeg(flac));
}

}  // namespace
