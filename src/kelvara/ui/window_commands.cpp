// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_commands.h"

#include "app_state.h"
#include "i18n/l.h"

#include <QAction>

namespace kelvara {

WindowCommands::WindowCommands(AppState& state, QObject* parent)
    : QObject(parent),
      state_(state),
      playPause_(make(L("Воспроизведение / Пауза"), {QKeySequence(Qt::Key_Space)})),
      compact_(make(L("Компактный вид"), {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_M)})),
      pin_(make(state.pin().pinHelp(), {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_T)})),
      seekLock_(make(L("Защита перемотки"), {QKeySequence(Qt::CTRL | Qt::Key_L)})),
      // Shift with +, − or 0 gives another character on most layouts; both forms are bound.
      zoomIn_(make(L("Увеличить волну"), {QKeySequence(Qt::SHIFT | Qt::Key_Plus), QKeySequence(Qt::SHIFT | Qt::Key_Equal)})),
      zoomOut_(make(L("Уменьшить волну"), {QKeySequence(Qt::SHIFT | Qt::Key_Minus), QKeySequence(Qt::SHIFT | Qt::Key_Underscore)})),
      wholeTrack_(make(L("Показать весь трек"), {QKeySequence(Qt::SHIFT | Qt::Key_0), QKeySequence(Qt::SHIFT | Qt::Key_ParenRight)})),
      addCue_(make(L("Добавить метку"), {QKeySequence(Qt::CTRL | Qt::Key_D)})),
      showCues_(make(L("Метки трека"), {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_D)})) {
    compact_->setCheckable(true);
    seekLock_->setCheckable(true);
    connect(playPause_, &QAction::triggered, &state_, &AppState::togglePlayback);
    connect(compact_, &QAction::triggered, &state_.view(), &ViewSettings::setCompact);
    connect(pin_, &QAction::triggered, &state_.pin(), &PinControl::cyclePinMode);
    connect(seekLock_, &QAction::triggered, &state_.playback(), &PlaybackLink::setSeekLocked);
    connect(zoomIn_, &QAction::triggered, this, [this] { zoomBy(1.5); });
    connect(zoomOut_, &QAction::triggered, this, [this] { zoomBy(2.0 / 3.0); });
    connect(wholeTrack_, &QAction::triggered, this, [this] { state_.view().setViewport({}); });
    connect(addCue_, &QAction::triggered, this, [this] { state_.addCue(state_.position()); });
    connect(showCues_, &QAction::triggered, this, [this] { state_.view().setShowCues(!state_.view().showCues()); });
    connect(&state_, &AppState::changed, this, &WindowCommands::refresh);
    refresh();
}

QAction* WindowCommands::make(const QString& text, const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QList<QAction*> WindowCommands::all() const {
    return {playPause_, compact_, pin_, seekLock_, zoomIn_, zoomOut_, wholeTrack_, addCue_, showCues_};
}

void WindowCommands::zoomBy(double factor) {
    WaveformViewport viewport = state_.view().viewport();
    viewport.magnify(factor, 0.5);
    state_.view().setViewport(viewport);
}

void WindowCommands::refresh() {
    playPause_->setEnabled(state_.canControl());
    compact_->setChecked(state_.view().compact());
    pin_->setText(state_.pin().pinHelp());
    seekLock_->setChecked(state_.playback().seekLocked());
    addCue_->setEnabled(state_.canControl() && state_.duration() > 0);
}

}  // namespace kelvara
