// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/player_directory.h"

#include <QMenu>

namespace kelvara {

// "Player": follow the automatic choice or one of the MPRIS players on the bus (by its own
// name), for people with more than one player open. Filled each time it opens.
class PlayerMenu : public QMenu {
    Q_OBJECT

public:
    explicit PlayerMenu(PlayerDirectory directory, QWidget* parent = nullptr);

    void fill();

signals:
    // The followed player changed; polling should look again at once.
    void playerChosen();

private:
    void choose(const std::optional<QString>& suffix);

    PlayerDirectory directory_;
};

}  // namespace kelvara
