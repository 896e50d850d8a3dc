// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>

namespace kelvara {

class AppState;
class LanguageMenu;
class PlayerMenu;
class WindowCommands;

// The toolbar's "…" menu (also the window's context menu), which stands in for a menu bar:
// the interface language; compact view; pinning; the instrumental; the track's file (choose,
// reset), retry and showing the player; which player to follow; and the window's commands with
// their shortcuts.
class MoreMenu : public QMenu {
    Q_OBJECT

public:
    MoreMenu(AppState& state, WindowCommands& commands, QWidget* parent = nullptr);

    QAction* chooseFileItem() const { return chooseFile_; }
    QAction* resetFileItem() const { return resetFile_; }
    QAction* retryItem() const { return retry_; }
    QAction* showPlayerItem() const { return showPlayer_; }
    LanguageMenu* languageMenu() const { return languages_; }
    PlayerMenu* playerMenu() const { return players_; }

private:
    void refresh();
    void chooseTrackFile();

    AppState& state_;
    QAction* chooseFile_;
    QAction* resetFile_;
    QAction* retry_;
    QAction* showPlayer_;
    LanguageMenu* languages_;
    PlayerMenu* players_;
};

}  // namespace kelvara
