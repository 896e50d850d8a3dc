// SPDX-License-Identifier: GPL-3.0-or-later
// The player submenu against a real mpv on a private bus.
#include "audio_files.h"
#include "i18n/l.h"
#include "mpv_player.h"
#include "player_directory.h"
#include "private_bus.h"
#include "storage/settings.h"
#include "test_home.h"
#include "ui/player_menu.h"
#include "ui_test_support.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <QAction>

namespace kelvara::testing {
namespace {

class PlayerMenuTest : public ::testing::Test {
protected:
    QAction* item(PlayerMenu& menu, const QString& text) {
        for (QAction* action : menu.actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        return nullptr;
    }

    QApplication& app = application();
    TestHome home;
    AudioFiles files;
    PrivateBus bus;
};

TEST_F(PlayerMenuTest, ListsPlayersByTheirNameAndRemembersTheChoice) {
    MpvPlayer mpv(bus, {files.tone(QStringLiteral("tone.wav"), 2)});
    PlayerDirectory directory(bus.connection());
    PlayerMenu menu(directory);
    int chosen = 0;
    QObject::connect(&menu, &PlayerMenu::playerChosen, [&] { ++chosen; });
    ASSERT_TRUE(waitUntil([&] { return directory.isLoaded(); }));
    menu.fill();

    QAction* automatic = item(menu, L("Автоматически"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->isChecked());
    QAction* player = item(menu, QStringLiteral("mpv"));
    ASSERT_NE(player, nullptr) << "listed by its Identity";
    EXPECT_FALSE(player->isChecked());
    EXPECT_EQ(directory.followed()->busName(), mpv.busName()) << "the only player is followed";

    player->trigger();
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(Settings().musicPlayer(), mpv.busName().mid(QStringLiteral("org.mpris.MediaPlayer2.").size()));
    menu.fill();
    EXPECT_TRUE(item(menu, QStringLiteral("mpv"))->isChecked());

    // A second one appears while the program runs: listed from the bus's news, told apart by
    // its bus name.
    MpvPlayer second(bus, {files.tone(QStringLiteral("tone.wav"), 2)});
    const QString secondTitle = QStringLiteral("mpv (%1)").arg(second.busName().mid(QStringLiteral("org.mpris.MediaPlayer2.").size()));
    EXPECT_TRUE(waitUntil([&] {
        menu.fill();
        return item(menu, secondTitle) != nullptr;
    }));

    mpv.stop();
    EXPECT_TRUE(waitUntil([&] { return directory.players().size() == 1; }));
    menu.fill();
    QAction* absent = item(menu, *Settings().musicPlayer());
    ASSERT_NE(absent, nullptr) << "a chosen player that quit stays listed";
    EXPECT_TRUE(absent->isChecked());
    EXPECT_FALSE(directory.followed().has_value());

    item(menu, L("Автоматически"))->trigger();
    EXPECT_FALSE(Settings().musicPlayer().has_value());
}

}  // namespace
}  // namespace kelvara::testing
