// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/app_settings.h"
#include "test_home.h"

#include <QFile>

#include <gtest/gtest.h>

// The settings file follows the home of the moment, so a test (or a child started with
// another home) never writes into the user's own settings.
TEST(AppSettingsTest, FileFollowsTheCurrentConfigHome) {
    kelvara::AppSettings::open()->value(QStringLiteral("seekLocked"));
    kelvara::testing::TestHome home;
    {
        auto settings = kelvara::AppSettings::open();
        settings->setValue(QStringLiteral("seekLocked"), false);
    }
    const QString expected = home.configHome() + QStringLiteral("/local.kelvara/waveform.conf");
    EXPECT_EQ(kelvara::AppSettings::filePath(), expected);
    EXPECT_TRUE(QFile::exists(expected));
}
