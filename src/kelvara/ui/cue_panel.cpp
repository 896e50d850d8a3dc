// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cue_panel.h"

#include "app_state.h"
#include "i18n/l.h"
#include "ui/app_icons.h"
#include "ui/cue_editor_row.h"
#include "ui/panel_label.h"
#include "ui/system_colors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvara {

namespace {

}  // namespace

CuePanel::CuePanel(AppState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      add_(new QPushButton(AppIcons::icon(Symbol::Plus, SystemColors::white(0.9), 12), L("Добавить"), this)),
      title_(panelLabel(QString(), "secondary", this)),
      error_(panelLabel(QString(), "warning", this)),
      list_(new QScrollArea(this)),
      rowsLayout_(nullptr),
      hint_(panelLabel(L("⌥ + клик по волне добавляет метку в выбранном месте; ⌘D — в текущей позиции. "
                    "Назовите метку: «вокал», «припев», «выход»."),
                  "secondary", this)),
      footer_(panelLabel(QString(), "smallCaption", this)) {
    setFixedWidth(350);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);

    auto* heading = new QHBoxLayout;
    heading->addWidget(panelLabel(L("Метки трека"), "headline", this));
    heading->addStretch();
    heading->addWidget(add_);
    connect(add_, &QPushButton::clicked, this, [this] { state_.addCue(state_.position()); });
    column->addLayout(heading);
    column->addWidget(title_);
    column->addWidget(error_);

    auto* rows = new QWidget;
    rowsLayout_ = new QVBoxLayout(rows);
    rowsLayout_->setContentsMargins(0, 0, 4, 0);
    rowsLayout_->setSpacing(6);
    rowsLayout_->addStretch();
    list_->setWidget(rows);
    list_->setWidgetResizable(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setFrameShape(QFrame::NoFrame);
    column->addWidget(list_);

    hint_->setContentsMargins(0, 12, 0, 12);
    column->addWidget(hint_);
    column->addWidget(footer_);

    connect(&state_, &AppState::changed, this, &CuePanel::refresh);
    refresh();
}

void CuePanel::refresh() {
    add_->setEnabled(state_.canControl() && state_.duration() > 0);
    title_->setText(state_.playback().snapshot().title);
    title_->setVisible(!state_.playback().snapshot().title.isEmpty());
    error_->setText(state_.marks().cueError().value_or(QString()));
    error_->setVisible(state_.marks().cueError().has_value());
    footer_->setText(state_.playback().seekLocked() ? L("🔒 Перемотка выключена. Снимите замок для перехода.") : L("Нажмите на время для перехода к метке."));
    syncRows();
}

// Keeps one row per cue, in the cues' order, reusing rows so a name being typed survives
// other changes. Removing a row saves its name, which changes the state and asks for
// another pass; that pass runs after this one.
void CuePanel::syncRows() {
    if (syncing_) {
        syncAgain_ = true;
        return;
    }
    syncing_ = true;
    do {
        syncAgain_ = false;
        const std::vector<CuePoint> cues = state_.marks().cues();
        const QString trackID = state_.playback().snapshot().id;
        std::vector<CueEditorRow*> kept;
        for (const CuePoint& cue : cues) {
            const auto found = std::find_if(rows_.begin(), rows_.end(), [&](CueEditorRow* row) { return row->cue().id == cue.id && row->trackID() == trackID; });
            CueEditorRow* row = found != rows_.end() ? *found : new CueEditorRow(state_, cue, trackID);
            if (found != rows_.end()) {
                rows_.erase(found);
                row->setCue(cue);
            }
            kept.push_back(row);
        }
        std::vector<CueEditorRow*> gone = std::exchange(rows_, kept);
        for (CueEditorRow* row : gone) {
            row->commitLabel();
            row->hide();
            row->deleteLater();
        }
        for (std::size_t index = 0; index < rows_.size(); ++index) {
            rowsLayout_->insertWidget(static_cast<int>(index), rows_[index]);
        }
    } while (syncAgain_);
    syncing_ = false;

    const bool empty = rows_.empty();
    list_->setVisible(!empty);
    hint_->setVisible(empty);
    int height = 0;
    for (CueEditorRow* row : rows_) {
        height += row->sizeHint().height() + rowsLayout_->spacing();
    }
    list_->setFixedHeight(std::min(height, listHeight));
}

QString CuePanel::errorText() const { return error_->isHidden() ? QString() : error_->text(); }

QString CuePanel::footerText() const { return footer_->text(); }

}  // namespace kelvara
