// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_menu.h"

#include "i18n/l.h"
#include "storage/settings.h"

#include <QActionGroup>

#include <algorithm>

namespace kelvara {

PlayerMenu::PlayerMenu(PlayerDirectory directory, QWidget* parent) : QMenu(L("Плеер"), parent), directory_(std::move(directory)) {
    connect(this, &QMenu::aboutToShow, this, &PlayerMenu::fill);
    fill();
}

void PlayerMenu::fill() {
    clear();
    auto* group = new QActionGroup(this);
    const std::optional<QString> chosen = Settings().musicPlayer();
    const auto add = [&](const QString& title, const std::optional<QString>& suffix) {
        QAction* item = addAction(title);
        item->setCheckable(true);
        item->setChecked(suffix == chosen);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, suffix] { choose(suffix); });
    };
    add(L("Автоматически"), std::nullopt);
    const std::vector<MprisPlayer> players = directory_.players();
    if (!players.empty()) {
        addSeparator();
    }
    // A chosen player that is not running now stays listed, checked, until it returns.
    if (chosen && std::none_of(players.begin(), players.end(), [&](const MprisPlayer& p) { return p.suffix() == *chosen; })) {
        add(*chosen, chosen);
    }
    for (const MprisPlayer& player : players) {
        // Two instances of one player share a name; the bus name tells them apart.
        const bool shared = std::count_if(players.begin(), players.end(), [&](const MprisPlayer& p) { return p.identity == player.identity; }) > 1;
        add(shared ? QStringLiteral("%1 (%2)").arg(player.identity, player.suffix()) : player.identity, player.suffix());
    }
}

void PlayerMenu::choose(const std::optional<QString>& suffix) {
    Settings().setMusicPlayer(suffix);
    emit playerChosen();
}

}  // namespace kelvara
