// SPDX-License-Identifier: GPL-3.0-or-later
// The view settings that outlive the run.
#include "app_state_fixture.h"

#include "storage/settings.h"
#include "view/view_settings.h"

namespace kelvara::testing {
namespace {

using ViewSettingsStored = AppStateFixture;

TEST_F(ViewSettingsStored, GridSwitchesStartFromTheStoredValuesAndAreWrittenOnChange) {
    QSettings(Settings::filePath(), QSettings::IniFormat).setValue(QStringLiteral("showBeatGrid"), QStringLiteral("maybe"));
    ViewSettings settings;
    EXPECT_TRUE(settings.showBeatGrid());  // not a Boolean: the default
    EXPECT_TRUE(settings.snapToSquares());

    settings.setSnapToSquares(false);
    settings.setShowBeatGrid(false);
    settings.setCompact(true);
    const ViewSettings again;
    EXPECT_FALSE(again.snapToSquares());
    EXPECT_FALSE(again.showBeatGrid());
    EXPECT_FALSE(again.compact());  // the layout is chosen anew each run
}

}  // namespace
}  // namespace kelvara::testing
