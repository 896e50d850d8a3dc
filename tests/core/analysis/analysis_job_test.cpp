// SPDX-License-Identifier: GPL-3.0-or-later
// One analysis of a file through the cache, as both the window and kelvara-analyze run it.
#include "analysis/analysis_job.h"
#include "audio_files.h"
#include "i18n/l.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

namespace kelvara {
namespace {

using Kind = AnalysisOutcome::Kind;

class AnalysisJobTest : public ::testing::Test {
protected:
    QStringList cacheFiles() const { return QDir(cacheDir_.path()).entryList(QDir::Files); }

    testing::AudioFiles files_;
    QTemporaryDir cacheDir_;
    WaveformCache cache_{cacheDir_.path()};
};

TEST_F(AnalysisJobTest, AnalysesOnceAndThenReadsTheCache) {
    const QString file = files_.tone(QStringLiteral("tone.wav"), 3);
    std::vector<double> progress;
    const AnalysisOutcome fresh = AnalysisJob(cache_).run(file, {}, [&](double f) { progress.push_back(f); });
    ASSERT_EQ(fresh.kind, Kind::ready) << fresh.message().toStdString();
    EXPECT_FALSE(fresh.cached);
    EXPECT_FALSE(fresh.error);
    EXPECT_EQ(fresh.identity, FileIdentity::of(file));
    EXPECT_NEAR(fresh.waveform->duration, 3, 0.01);
    EXPECT_EQ(fresh.message(), L("Анализ готов · кэш сохранён"));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 1.0);
    EXPECT_EQ(cacheFiles().size(), 1);

    progress.clear();
    const AnalysisOutcome again = AnalysisJob(cache_).run(file, {}, [&](double f) { progress.push_back(f); });
    ASSERT_EQ(again.kind, Kind::ready);
    EXPECT_TRUE(again.cached);
    EXPECT_EQ(again.waveform->peaks, fresh.waveform->peaks);
    EXPECT_EQ(again.waveform->beatGrid, fresh.waveform->beatGrid);
    EXPECT_EQ(again.message(), L("Загружено из кэша"));
    EXPECT_TRUE(progress.empty()) << "nothing decoded";
}

TEST_F(AnalysisJobTest, WithoutTheCacheNeitherReadsNorWritesIt) {
    const QString file = files_.tone(QStringLiteral("tone.wav"), 2);
    const AnalysisJob uncached(cache_, false);
    ASSERT_EQ(uncached.run(file).kind, Kind::ready);
    EXPECT_TRUE(cacheFiles().isEmpty());

    ASSERT_EQ(AnalysisJob(cache_).run(file).kind, Kind::ready);
    const AnalysisOutcome outcome = uncached.run(file);
    ASSERT_EQ(outcome.kind, Kind::ready);
    EXPECT_FALSE(outcome.cached);
    EXPECT_FALSE(outcome.error);
}

// The waveform is shown all the same; the message says why the next start analyses again.
TEST_F(AnalysisJobTest, ACacheThatCannotBeWrittenStillGivesTheWaveform) {
    const QString file = files_.tone(QStringLiteral("tone.wav"), 2);
    const QString blocked = cacheDir_.filePath(QStringLiteral("blocked"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the cache folder should be
    blocker.close();
    const AnalysisOutcome outcome = AnalysisJob(WaveformCache(blocked + QStringLiteral("/Peaks"))).run(file);
    ASSERT_EQ(outcome.kind, Kind::ready);
    ASSERT_TRUE(outcome.waveform);
    ASSERT_TRUE(outcome.error);
    EXPECT_TRUE(outcome.error->contains(blocked)) << outcome.error->toStdString();
    EXPECT_EQ(outcome.message(), L("Волна готова, но кэш не записан: {0}", *outcome.error));
}

TEST_F(AnalysisJobTest, FailuresKeepTheIdentityOfTheFileAsItIsNow) {
    const QString whole = files_.tone(QStringLiteral("tone.wav"), 4);
    const QString cut = files_.truncatedCopy(whole, QStringLiteral("cut.wav"), 0.5);
    const AnalysisOutcome damaged = AnalysisJob(cache_).run(cut);
    EXPECT_EQ(damaged.kind, Kind::failed);
    EXPECT_FALSE(damaged.waveform);
    EXPECT_EQ(damaged.identity, FileIdentity::of(cut));
    EXPECT_EQ(damaged.error, L("Аудиофайл прочитан не полностью; результат не сохранён."));
    EXPECT_EQ(damaged.message(), L("Волна недоступна: {0}", *damaged.error));
    EXPECT_TRUE(cacheFiles().isEmpty());

    const AnalysisOutcome missing = AnalysisJob(cache_).run(files_.path(QStringLiteral("gone.wav")));
    EXPECT_EQ(missing.kind, Kind::failed);
    EXPECT_FALSE(missing.identity);
    EXPECT_FALSE(AnalysisJob(cache_).run(QString()).identity);
}

TEST_F(AnalysisJobTest, ACancelledRunStoresNothingAndSaysNothing) {
    const QString file = files_.tone(QStringLiteral("tone.wav"), 2);
    const AnalysisOutcome outcome = AnalysisJob(cache_).run(file, [] { return true; });
    EXPECT_EQ(outcome.kind, Kind::cancelled);
    EXPECT_FALSE(outcome.waveform);
    EXPECT_TRUE(outcome.message().isEmpty());
    EXPECT_TRUE(cacheFiles().isEmpty());
}

// The switch the README names shows the raw error behind the text, with the file it came from.
TEST_F(AnalysisJobTest, TheAnalysisLogCarriesTheRawErrorWhenSwitchedOn) {
    static QStringList logged;
    const QString junk = files_.path(QStringLiteral("junk.wav"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not audio");
    file.close();

    QLoggingCategory::setFilterRules(QStringLiteral("kelvara.*=true"));
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
        logged.append(QLatin1String(context.category) + QStringLiteral(": ") + text);
    });
    const AnalysisOutcome outcome = AnalysisJob(cache_).run(junk);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    ASSERT_EQ(outcome.kind, Kind::failed);
    const QStringList lines = logged.filter(QStringLiteral("kelvara.analysis: ")).filter(junk);
    ASSERT_EQ(lines.size(), 1) << logged.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.first().contains(*outcome.error));
    // The listener reads our text; FFmpeg's own words are in the log.
    EXPECT_FALSE(outcome.error->contains(QStringLiteral("Invalid data")));
    EXPECT_FALSE(logged.filter(QStringLiteral("Invalid data found when processing input")).isEmpty());
}

TEST(AnalysisJob, LowersOnlyTheCallingThread) {
    const auto priority = [] { return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); };
    const int before = priority();
    int lowered = before;
    std::thread worker([&] {
        AnalysisJob::lowerThreadPriority();
        lowered = priority();
    });
    worker.join();
    EXPECT_EQ(lowered, 10);
    EXPECT_EQ(priority(), before);
}

}  // namespace
}  // namespace kelvara
