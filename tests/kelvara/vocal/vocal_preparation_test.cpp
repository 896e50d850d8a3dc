// SPDX-License-Identifier: GPL-3.0-or-later
// When the instrumental of a track is prepared, on a hand-moved clock: the grace before a
// worker starts, one preparation per track and file, and automatic preparation switched off.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "storage/settings.h"

namespace kelvara::testing {
namespace {

class VocalPreparationTest : public AppStateFixture {
protected:
    AppState& makeCountingState() {
        AppState& app = makeState();
        QObject::connect(&app.vocals(), &VocalPreparation::workerStarted, &app.vocals(), [this] { ++workers; });
        return app;
    }

    int workers = 0;
};

TEST_F(VocalPreparationTest, NewTracksArePreparedAfterAGraceAndOnlyOnce) {
    AppState& app = makeCountingState();
    EXPECT_TRUE(app.vocals().autoInstrumental()) << "on at first launch";
    const QString missing = audio.path(QStringLiteral("missing.wav"));

    app.apply(track(QStringLiteral("aaaa"), missing, 0, true));
    EXPECT_TRUE(app.vocals().vocalWorking());
    EXPECT_EQ(app.vocals().vocalStatus(), L("Готовлю инструментал…"));
    clock->advance(1.5);
    app.apply(track(QStringLiteral("bbbb"), missing, 0, true));  // skipped within the grace
    clock->advance(1.9);
    EXPECT_EQ(workers, 0) << "a preparation abandoned within 2 s starts no worker";
    app.apply(track(QStringLiteral("bbbb"), missing, 1, true));  // the same track and file again
    clock->advance(0.2);
    EXPECT_EQ(workers, 1);
    ASSERT_TRUE(waitUntil([&] { return !app.vocals().vocalWorking(); }, 30));
    EXPECT_TRUE(app.vocals().vocalStatus().startsWith(L("Не удалось подготовить инструментал: ")));
    EXPECT_FALSE(app.vocals().vocalReady());

    app.toggleVocals();  // nothing prepared: the button prepares again
    clock->advance(2.1);
    EXPECT_EQ(workers, 2);
}

TEST_F(VocalPreparationTest, TurningAutomaticOffStopsTheRunAndIsRemembered) {
    AppState& app = makeCountingState();
    app.apply(track(QStringLiteral("aaaa"), audio.path(QStringLiteral("song.wav")), 0, false));
    ASSERT_TRUE(app.vocals().vocalWorking());
    app.setAutoInstrumental(false);
    EXPECT_FALSE(app.vocals().vocalWorking());
    clock->advance(3);
    EXPECT_EQ(workers, 0);
    app.apply(track(QStringLiteral("bbbb"), audio.path(QStringLiteral("other.wav")), 0, false));
    clock->advance(3);
    EXPECT_EQ(workers, 0) << "no automatic preparation while off";
    EXPECT_FALSE(Settings().autoInstrumental());

    app.setAutoInstrumental(true);  // the current track is prepared at once
    EXPECT_TRUE(app.vocals().vocalWorking());
}

TEST_F(VocalPreparationTest, ATrackWithoutALocalFileIsNotPrepared) {
    AppState& app = makeCountingState();
    app.apply(track(QStringLiteral("aaaa"), QString(), 0, true));
    EXPECT_FALSE(app.vocals().vocalWorking());
    EXPECT_EQ(app.vocals().vocalStatus(), L("Нужен доступный локальный файл трека"));
}

}  // namespace
}  // namespace kelvara::testing
