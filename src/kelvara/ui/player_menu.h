// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>

#include <optional>

namespace kelvara {

class PlayerDirectory;

// "Player": follow the automatic choice or one of the MPRIS players on the bus (by its own
// name), for people with more than one player open. Listed from the directory, which the
// bus keeps up to date, so opening the menu never waits on a player.
class PlayerMenu : public QMenu {
    Q_OBJECT

public:
    // `players` must outlive the menu.
    explicit PlayerMenu(PlayerDirectory& players, QWidget* parent = nullptr);

    void fill();

signals:
    // The followed player changed; polling should look again at once.
    void playerChosen();

private:
    void choose(const std::optional<QString>& suffix);

    PlayerDirectory& players_;
};

}  // namespace kelvara
