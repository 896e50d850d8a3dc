// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_menu.h"

#include "i18n/l.h"
#include "player_directory.h"
#include "storage/settings.h"

#include <QActionGroup>

#include <algorithm>

namespace kelvara {

PlayerMenu::PlayerMenu(PlayerDirectory& players, QWidget* parent) : QMenu(L("Плеер"), parent), players_(players) {
    connect(this, &QMenu::aboutToShow, this, &PlayerMenu::fill);
    // A player that comes, goes or is first read while the menu is open shows at once.
    connect(&players_, &PlayerDirectory::changed, this, [this] {
        if (isVisible()) {
            fill();
        }
    });
    players_.watch();
    fill();
}

void PlayerMenu::fill() {
    clear();
    auto* group = new QActionGroup(this);
    const std::vector<MprisPlayer> players = players_.players();
    std::optional<QString> chosen = Settings().musicPlayer();
    // A player is chosen under any of its bus names and shown under its first.
    const auto named = std::find_if(players.begin(), players.end(), [&](const MprisPlayer& p) { return chosen && p.answersTo(*chosen); });
    const bool chosenRunning = named != players.end();
    if (chosenRunning) {
        chosen = named->suffix();
    }
    const auto add = [&](const QString& title, const std::optional<QString>& suffix) {
        QAction* item = addAction(title);
        item->setCheckable(true);
        item->setChecked(suffix == chosen);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, suffix] { choose(suffix); });
    };
    add(L("Автоматически"), std::nullopt);
    if (!players.empty()) {
        addSeparator();
    }
    // A chosen player that is not running now stays listed, checked, until it returns.
    if (chosen && !chosenRunning) {
        add(*chosen, chosen);
    }
    for (const MprisPlayer& player : players) {
        // Two instances of one player share a name; the bus name tells them apart.
        const bool shared = std::count_if(players.begin(), players.end(), [&](const MprisPlayer& p) { return p.title() == player.title(); }) > 1;
        add(shared ? QStringLiteral("%1 (%2)").arg(player.title(), player.suffix()) : player.title(), player.suffix());
    }
}

void PlayerMenu::choose(const std::optional<QString>& suffix) {
    Settings().setMusicPlayer(suffix);
    emit playerChosen();
}

}  // namespace kelvara
