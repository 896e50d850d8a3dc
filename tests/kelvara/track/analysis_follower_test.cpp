// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis of the current track, told of the track as its owner would: messages,
// cancellation, the file watch, chosen files.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "storage/file_identity.h"
#include "storage/waveform_cache.h"
#include "track/analysis_follower.h"

#include <QFile>

namespace kelvara::testing {
namespace {

QString unavailable(const QString& reason) { return L("Волна недоступна: {0}", reason); }

class AnalysisFollowing : public AppStateFixture {
protected:
    // Made anew, as at a start of the program.
    AnalysisFollower& makeFollower() {
        follower.reset();
        messages.clear();
        follower = std::make_unique<AnalysisFollower>(clock);
        QObject::connect(follower.get(), &AnalysisFollower::analysisMessageChanged,
                         [this] { messages.append(follower->analysisMessage()); });
        return *follower;
    }
    bool settled() const { return !follower->analysisProgress().has_value(); }
    bool waitForResult() { return waitUntil([this] { return settled(); }, 30); }
    void poll(const QString& id, const QString& path) { follower->follow(track(id, path, 0, false)); }

    std::unique_ptr<AnalysisFollower> follower;
    QStringList messages;  // every value analysisMessage took
};

TEST_F(AnalysisFollowing, TrackChangeCancelsTheRunningAnalysisSilently) {
    const QString longFile = audio.tone(QStringLiteral("long.wav"), 240);
    const QString shortFile = audio.tone(QStringLiteral("short.wav"), 5);
    AnalysisFollower& app = makeFollower();
    poll(QStringLiteral("long"), longFile);
    ASSERT_TRUE(waitUntil([&] { return app.analysisProgress().value_or(1) > 0; }));
    poll(QStringLiteral("short"), shortFile);
    EXPECT_EQ(app.analysisMessage(), L("Анализ аудио…"));
    EXPECT_EQ(app.analysisProgress(), 0.0);
    ASSERT_TRUE(waitForResult());
    waitUntil([] { return false; }, 0.3);  // room for a late result of the first track

    EXPECT_EQ(app.analysisMessage(), L("Анализ готов · кэш сохранён"));
    EXPECT_NEAR(app.waveform()->duration, 5, 0.01);
    EXPECT_FALSE(messages.join(QLatin1Char('\n')).contains(unavailable(QString())));
    EXPECT_FALSE(WaveformCache().load(FileIdentity::of(longFile)));  // stopped, never stored
}

TEST_F(AnalysisFollowing, AChangedFileIsAnalysedAgainAtTheNextCheckAfterFiveSeconds) {
    const QString file = audio.tone(QStringLiteral("tone.wav"), 4);
    AnalysisFollower& app = makeFollower();
    poll(QStringLiteral("t1"), file);
    ASSERT_TRUE(waitForResult());

    audio.tone(QStringLiteral("tone.wav"), 6);  // rewritten in place
    clock->advance(4.9);
    poll(QStringLiteral("t1"), file);
    EXPECT_TRUE(settled());
    clock->advance(0.2);
    poll(QStringLiteral("t1"), file);
    EXPECT_EQ(app.analysisMessage(), L("Анализ аудио…"));
    ASSERT_TRUE(waitForResult());
    EXPECT_NEAR(app.waveform()->duration, 6, 0.01);

    QFile::remove(file);
    clock->advance(5.1);
    poll(QStringLiteral("t1"), file);
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(),
              unavailable(L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.")));
    clock->advance(5.1);
    poll(QStringLiteral("t1"), file);
    EXPECT_TRUE(settled());  // still missing: not retried again and again
}

TEST_F(AnalysisFollowing, AFileChosenForAStreamIsAnalysedAndRemembered) {
    const QString file = audio.tone(QStringLiteral("local.wav"), 3);
    AnalysisFollower& app = makeFollower();
    app.follow(track(QStringLiteral("stream"), QString(), 50, true));
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(), unavailable(L("Music не сообщает путь к файлу. Для потокового или DRM-трека "
                                                   "waveform недоступен. Если это ваш локальный файл, выберите его вручную.")));
    clock->advance(6);
    app.follow(track(QStringLiteral("stream"), QString(), 56, true));
    EXPECT_TRUE(settled());  // an empty path has no identity that could change

    app.chooseFile(QStringLiteral("stream"), file);
    EXPECT_EQ(app.filePath(track(QStringLiteral("stream"), QString(), 0, true)), file);
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(), L("Анализ готов · кэш сохранён"));

    // The dialog was opened for "stream", but another track plays by the time a file is picked.
    poll(QStringLiteral("t2"), file);
    ASSERT_TRUE(waitForResult());
    const QStringList before = messages;
    app.chooseFile(QStringLiteral("stream"), file);
    EXPECT_EQ(messages, before);

    AnalysisFollower& restarted = makeFollower();
    poll(QStringLiteral("stream"), QString());
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(restarted.analysisMessage(), L("Загружено из кэша"));
    restarted.resetFile();
    ASSERT_TRUE(waitForResult());
    EXPECT_TRUE(restarted.analysisMessage().startsWith(unavailable(QString())));
}

}  // namespace
}  // namespace kelvara::testing
