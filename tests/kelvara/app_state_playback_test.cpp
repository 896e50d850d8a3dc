// SPDX-License-Identifier: GPL-3.0-or-later
// Position, seek lock and settings of AppState on a hand-moved clock; no player involved.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "storage/settings.h"

namespace kelvara::testing {
namespace {

using AppStatePlayback = AppStateFixture;

TEST_F(AppStatePlayback, PositionAdvancesFromTheLastReplyOnlyWhilePlaying) {
    AppState& app = makeState();
    app.apply(track(QStringLiteral("a1"), QString(), 42.0, true));
    clock->advance(0.4);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);
    app.apply(track(QStringLiteral("a1"), QString(), 42.4, false));
    clock->advance(3);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);
    app.apply(track(QStringLiteral("a1"), QString(), 299.5, true));
    clock->advance(2);
    EXPECT_EQ(app.position(), 300);  // held at the end
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
}

TEST_F(AppStatePlayback, SettingsStartFromTheStoredValuesAndAreWrittenOnChange) {
    Settings().setSeekLocked(false);
    QSettings(Settings::filePath(), QSettings::IniFormat).setValue(QStringLiteral("showBeatGrid"), QStringLiteral("maybe"));
    AppState& app = makeState();
    EXPECT_FALSE(app.seekLocked());
    EXPECT_TRUE(app.showBeatGrid());  // not a Boolean: the default
    EXPECT_TRUE(app.autoInstrumental());

    app.setSnapToSquares(false);
    app.setSeekLocked(true);
    AppState& again = makeState();
    EXPECT_FALSE(again.snapToSquares());
    EXPECT_TRUE(again.seekLocked());
}

}  // namespace
}  // namespace kelvara::testing
