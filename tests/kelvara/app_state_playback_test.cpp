// SPDX-License-Identifier: GPL-3.0-or-later
// Position, seek lock and settings of AppState on a hand-moved clock; no player involved.
#include "app_state_fixture.h"

#include "i18n/l.h"

#include "storage/app_settings.h"

namespace kelvara::testing {
namespace {

using AppStatePlayback = AppStateFixture;

TEST_F(AppStatePlayback, PositionAdvancesFromTheLastReplyOnlyWhilePlaying) {
    AppState& app = makeState();
    clock->advance(10.0 - clock->now());
    app.apply(track(QStringLiteral("a1"), QString(), 42.0, true));
    clock->advance(0.4);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);

    app.apply(track(QStringLiteral("a1"), QString(), 42.4, false));
    clock->advance(3);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);

    app.apply(track(QStringLiteral("a1"), QString(), 299.5, true));
    clock->advance(2);
    EXPECT_DOUBLE_EQ(app.position(), 300);  // held at the end
}

TEST_F(AppStatePlayback, PlayerClosedOrWithoutTrackCannotBeControlled) {
    AppState& app = makeState();
    app.apply(track(QStringLiteral("a1"), QString(), 0, false, 0));
    EXPECT_DOUBLE_EQ(app.duration(), 0);
    EXPECT_TRUE(app.canControl());

    app.apply(MusicSnapshot{});
    EXPECT_FALSE(app.canControl());
    EXPECT_EQ(app.analysisMessage(), L("Music закрыта — откройте приложение «Музыка»"));
    MusicSnapshot noTrack;
    noTrack.running = true;
    app.apply(noTrack);
    EXPECT_EQ(app.analysisMessage(), L("Выберите трек в Music"));
}

TEST_F(AppStatePlayback, RefusedSeekShowsTheNoticeForTwoSecondsAfterTheLastRefusal) {
    AppState& app = makeState();
    ASSERT_TRUE(app.seekLocked());
    app.apply(track(QStringLiteral("a1"), QString(), 10, true));

    app.seek(50);
    EXPECT_EQ(app.seekNotice(), L("Перемотка выключена · снимите замок"));
    EXPECT_FALSE(app.previewPosition());
    clock->advance(1.5);
    app.seek(60);
    clock->advance(1.9);
    EXPECT_TRUE(app.seekNotice());
    clock->advance(0.2);
    EXPECT_FALSE(app.seekNotice());
    EXPECT_EQ(clock->sleepers(), 0u);
}

TEST_F(AppStatePlayback, SettingsStartFromTheStoredValuesAndAreWrittenOnChange) {
    {
        auto settings = AppSettings::open();
        settings->setValue(QStringLiteral("seekLocked"), false);
        settings->setValue(QStringLiteral("showBeatGrid"), QStringLiteral("maybe"));
    }
    AppState& app = makeState();
    EXPECT_FALSE(app.seekLocked());
    EXPECT_TRUE(app.showBeatGrid());  // not a Boolean: the default
    EXPECT_TRUE(app.snapToSquares());
    EXPECT_TRUE(app.autoInstrumental());

    app.setSnapToSquares(false);
    app.setSeekLocked(true);
    app.setAutoInstrumental(false);
    AppState& again = makeState();
    EXPECT_FALSE(again.snapToSquares());
    EXPECT_TRUE(again.seekLocked());
    EXPECT_FALSE(again.autoInstrumental());
}

}  // namespace
}  // namespace kelvara::testing
