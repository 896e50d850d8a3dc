// SPDX-License-Identifier: GPL-3.0-or-later
// The view settings that outlive the run.
#include "app_state_fixture.h"

#include "storage/settings.h"
#include "view/view_settings.h"

namespace kelvara::testing {
namespace {

using ViewSettingsStored = AppStateFixture;

TEST_F(ViewSettingsStored, GridSwitchesAndTempoRangeStartFromTheStoredValuesAndAreWrittenOnChange) {
    QSettings(Settings::filePath(), QSettings::IniFormat).setValue(QStringLiteral("showBeatGrid"), QStringLiteral("maybe"));
    ViewSettings settings;
    EXPECT_TRUE(settings.showBeatGrid());  // not a Boolean: the default
    EXPECT_TRUE(settings.snapToSquares());
    EXPECT_TRUE(settings.tempoRange().isAuto());

    settings.setSnapToSquares(false);
    settings.setTempoRange(TempoRange{90});
    settings.setShowBeatGrid(false);
    settings.setCompact(true);
    const ViewSettings again;
    EXPECT_FALSE(again.snapToSquares());
    EXPECT_FALSE(again.showBeatGrid());
    EXPECT_EQ(again.tempoRange(), TempoRange{90});
    EXPECT_FALSE(again.compact());  // the layout is chosen anew each run
}

}  // namespace
}  // namespace kelvara::testing
