// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/more_menu.h"

#include "app_state.h"
#include "i18n/l.h"
#include "player/show_player.h"
#include "ui/language_menu.h"
#include "ui/player_menu.h"
#include "ui/vocal_actions.h"
#include "ui/window_commands.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace kelvara {

MoreMenu::MoreMenu(AppState& state, WindowCommands& commands, QWidget* parent)
    : QMenu(parent), state_(state), languages_(new LanguageMenu(Relauncher::ofThisProcess(), this)),
      players_(new PlayerMenu(state.playback().players(), this)) {
    addMenu(languages_);
    addSeparator();
    addAction(commands.compact());
    addAction(commands.pin());
    (new VocalActions(state, this))->addToMoreMenu(*this);
    addSeparator();
    chooseFile_ = addAction(L("Выбрать локальный файл…"), this, &MoreMenu::chooseTrackFile);
    resetFile_ = addAction(L("Использовать путь из Music"), &state_, &AppState::resetFile);
    retry_ = addAction(L("Повторить подключение / анализ"), &state_, &AppState::retry);
    showPlayer_ = addAction(L("Показать Music"), this, [this] { showPlayer(state_.playback().players()); });
    addMenu(players_);
    connect(players_, &PlayerMenu::playerChosen, &state_, &AppState::restartPolling);
    addSeparator();
    for (QAction* command : {commands.seekLock(), commands.zoomIn(), commands.zoomOut(), commands.wholeTrack()}) {
        addAction(command);
    }
    addSeparator();
    addAction(commands.addCue());
    addAction(commands.showCues());
    connect(this, &QMenu::aboutToShow, this, &MoreMenu::refresh);
    refresh();
}

void MoreMenu::refresh() {
    const bool hasTrack = !state_.playback().snapshot().id.isEmpty();
    chooseFile_->setEnabled(hasTrack);
    resetFile_->setEnabled(hasTrack);
}

void MoreMenu::chooseTrackFile() {
    const QString trackID = state_.playback().snapshot().id;
    if (trackID.isEmpty()) {
        return;
    }
    QFileDialog dialog(window(), L("Выберите исходный файл текущего трека"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog has room for the message under its file list.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        auto* message = new QLabel(L("Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции Music."));
        message->setWordWrap(true);
        grid->addWidget(message, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        state_.chooseFile(trackID, dialog.selectedFiles().constFirst());
    }
}

}  // namespace kelvara
