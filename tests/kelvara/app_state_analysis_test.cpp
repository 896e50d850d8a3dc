// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis of the current track: messages, cache, cancellation, file watch, chosen files.
#include "app_state_fixture.h"

#include "i18n/l.h"

#include "storage/file_identity.h"
#include "storage/waveform_cache.h"

#include <QFile>

namespace kelvara::testing {
namespace {

QString analysing() { return L("Анализ аудио…"); }
QString analysedAndCached() { return L("Анализ готов · кэш сохранён"); }
QString fromCache() { return L("Загружено из кэша"); }
QString unavailable(const QString& reason) { return L("Волна недоступна: {0}", reason); }

class AppStateAnalysis : public AppStateFixture {
protected:
    bool settled() const { return !state->analysisProgress().has_value(); }
    bool waitForResult() { return waitUntil([this] { return settled(); }, 30); }
};

TEST_F(AppStateAnalysis, AnalysesOnceThenLoadsFromTheCacheAfterARestart) {
    const QString file = audio.tone(QStringLiteral("tone.wav"), 8);
    AppState& app = makeState();
    app.apply(track(QStringLiteral("t1"), file, 0, false, 0));
    EXPECT_EQ(app.analysisMessage(), analysing());
    EXPECT_EQ(app.analysisProgress(), 0.0);
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(), analysedAndCached());
    ASSERT_TRUE(app.waveform());
    EXPECT_NEAR(app.duration(), 8, 0.01);  // the player gave no duration

    // Every poll repeats the same track and file: nothing new starts.
    app.apply(track(QStringLiteral("t1"), file, 1, false, 0));
    EXPECT_TRUE(settled());
    EXPECT_EQ(messages(), (QStringList{analysing(), analysedAndCached()}));

    AppState& restarted = makeState();
    restarted.apply(track(QStringLiteral("t1"), file, 0, false, 0));
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(restarted.analysisMessage(), fromCache());
}

TEST_F(AppStateAnalysis, TrackChangeCancelsTheRunningAnalysisSilently) {
    const QString longFile = audio.tone(QStringLiteral("long.wav"), 240);
    const QString shortFile = audio.tone(QStringLiteral("short.wav"), 5);
    AppState& app = makeState();
    app.apply(track(QStringLiteral("long"), longFile, 0, true));
    ASSERT_TRUE(waitUntil([&] { return app.analysisProgress().value_or(1) > 0; }));

    app.apply(track(QStringLiteral("short"), shortFile, 0, true));
    EXPECT_EQ(app.analysisMessage(), analysing());
    EXPECT_EQ(app.analysisProgress(), 0.0);
    ASSERT_TRUE(waitForResult());
    waitUntil([] { return false; }, 0.3);  // room for a late result of the first track

    EXPECT_EQ(app.analysisMessage(), analysedAndCached());
    EXPECT_NEAR(app.waveform()->duration, 5, 0.01);
    for (const QString& message : messages()) {
        EXPECT_FALSE(message.startsWith(unavailable(QString()))) << message.toStdString();
    }
    EXPECT_FALSE(WaveformCache().load(FileIdentity::of(longFile)));  // stopped, never stored
}

TEST_F(AppStateAnalysis, AChangedFileIsAnalysedAgainAtTheNextCheckAfterFiveSeconds) {
    const QString file = audio.tone(QStringLiteral("tone.wav"), 4);
    AppState& app = makeState();
    app.apply(track(QStringLiteral("t1"), file, 0, false));
    ASSERT_TRUE(waitForResult());

    audio.tone(QStringLiteral("tone.wav"), 6, 44'100, 1, 880);  // rewritten in place
    clock->advance(4.9);
    app.apply(track(QStringLiteral("t1"), file, 0, false));
    EXPECT_TRUE(settled());
    clock->advance(0.2);
    app.apply(track(QStringLiteral("t1"), file, 0, false));
    EXPECT_EQ(app.analysisMessage(), analysing());
    ASSERT_TRUE(waitForResult());
    EXPECT_NEAR(app.waveform()->duration, 6, 0.01);

    QFile::remove(file);
    clock->advance(5.1);
    app.apply(track(QStringLiteral("t1"), file, 0, false));
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(),
              unavailable(L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.")));
    // Still missing: the failure is not retried again and again.
    clock->advance(5.1);
    app.apply(track(QStringLiteral("t1"), file, 0, false));
    EXPECT_TRUE(settled());
}

TEST_F(AppStateAnalysis, StreamedTrackFailsOnceAndAChosenFileIsRememberedForIt) {
    const QString file = audio.tone(QStringLiteral("local.wav"), 3);
    AppState& app = makeState();
    app.apply(track(QStringLiteral("stream"), QString(), 0, false));
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(),
              unavailable(L("Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если "
                            "это ваш локальный файл, выберите его вручную.")));
    clock->advance(6);
    app.apply(track(QStringLiteral("stream"), QString(), 0, false));
    EXPECT_TRUE(settled());  // an empty path has no identity to compare

    app.chooseFile(QStringLiteral("stream"), file);
    EXPECT_EQ(app.analysisMessage(), analysing());
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(app.analysisMessage(), analysedAndCached());

    AppState& restarted = makeState();
    restarted.apply(track(QStringLiteral("stream"), QString(), 0, false));
    ASSERT_TRUE(waitForResult());
    EXPECT_EQ(restarted.analysisMessage(), fromCache());

    restarted.resetFile();
    ASSERT_TRUE(waitForResult());
    EXPECT_TRUE(restarted.analysisMessage().startsWith(unavailable(QString())));
}

TEST_F(AppStateAnalysis, ChoosingAFileKeepsThePlayPositionAndLeavesANewTrackAlone) {
    const QString first = audio.tone(QStringLiteral("first.wav"), 3);
    const QString chosen = audio.tone(QStringLiteral("chosen.wav"), 4);
    AppState& app = makeState();
    app.apply(track(QStringLiteral("t1"), first, 50, true));
    ASSERT_TRUE(waitForResult());
    clock->advance(1.5);

    app.chooseFile(QStringLiteral("t1"), chosen);
    EXPECT_NEAR(app.position(), 51.5, 1e-9);  // not re-anchored to the last reply
    ASSERT_TRUE(waitForResult());
    EXPECT_NEAR(app.waveform()->duration, 4, 0.01);

    // The dialog was opened for t1, but t2 plays by the time the user picks a file.
    app.apply(track(QStringLiteral("t2"), first, 0, true));
    ASSERT_TRUE(waitForResult());
    const QStringList before = messages();
    app.chooseFile(QStringLiteral("t1"), first);
    EXPECT_EQ(messages(), before);
    EXPECT_TRUE(app.waveform());
}

}  // namespace
}  // namespace kelvara::testing
