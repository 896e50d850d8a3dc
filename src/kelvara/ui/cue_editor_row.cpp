// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cue_editor_row.h"

#include "app_state.h"
#include "i18n/l.h"
#include "models/cue_color.h"
#include "models/time_label.h"
#include "ui/app_icons.h"
#include "ui/system_colors.h"
#include "ui/ui_fonts.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include <array>

namespace kelvara {

namespace {

QIcon colorDot(int color) {
    QPixmap dot(QSize(14, 14) * 2);
    dot.setDevicePixelRatio(2);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SystemColors::fromRgb(cueColor(color)));
    painter.drawEllipse(QRectF(3.5, 3.5, 7, 7));
    return QIcon(dot);
}

}  // namespace

CueEditorRow::CueEditorRow(AppState& state, const CuePoint& cue, const QString& trackID, QWidget* parent)
    : QWidget(parent),
      state_(state),
      cue_(cue),
      trackID_(trackID),
      color_(new QToolButton(this)),
      time_(new QToolButton(this)),
      label_(new QLineEdit(cue.label, this)),
      remove_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(8);

    static const std::array<const char*, CuePoint::paletteSize> colorNames{"Мятный", "Оранжевый", "Синий", "Розовый"};
    auto* colors = new QMenu(color_);
    for (int index = 0; index < CuePoint::paletteSize; ++index) {
        colors->addAction(colorDot(index), L(colorNames[static_cast<std::size_t>(index)]), this, [this, index] { chooseColor(index); });
    }
    color_->setMenu(colors);
    color_->setPopupMode(QToolButton::InstantPopup);
    color_->setFixedWidth(18);
    color_->setIconSize({14, 14});

    time_->setFont(UiFonts::monospaced(12));
    time_->setCursor(Qt::PointingHandCursor);
    connect(time_, &QToolButton::clicked, this, [this] {
        if (state_.playback().snapshot().id == trackID_) {
            state_.seek(cue_.seconds);
        }
    });

    label_->setObjectName(QStringLiteral("plain"));
    label_->setPlaceholderText(L("Название"));
    connect(label_, &QLineEdit::returnPressed, this, &CueEditorRow::commitLabel);

    remove_->setIcon(AppIcons::icon(Symbol::MinusCircle, SystemColors::white(0.5)));
    remove_->setToolTip(L("Удалить метку"));
    remove_->setAccessibleName(L("Удалить метку"));
    connect(remove_, &QToolButton::clicked, this, [this] { state_.removeCue(cue_, trackID_); });

    layout->addWidget(color_);
    layout->addWidget(time_);
    layout->addWidget(label_, 1);
    layout->addWidget(remove_);
    setCue(cue);
}

void CueEditorRow::setCue(const CuePoint& cue) {
    cue_ = cue;
    color_->setIcon(colorDot(cue.color));
    time_->setText(timeLabel(cue.seconds));
    refresh();
}

void CueEditorRow::refresh() {
    time_->setEnabled(state_.canControl() && state_.duration() > 0 && cue_.seconds <= state_.duration());
}

void CueEditorRow::chooseColor(int color) {
    CuePoint changed = cue_;
    changed.color = color;
    state_.updateCue(changed, trackID_);
}

void CueEditorRow::commitLabel() {
    const auto track = state_.marks().cueTracks().find(trackID_);
    if (track == state_.marks().cueTracks().end()) {
        return;
    }
    const auto stored = std::find_if(track->second.begin(), track->second.end(), [this](const CuePoint& c) { return c.id == cue_.id; });
    if (stored == track->second.end()) {
        return;
    }
    if (const std::optional<QString> label = CuePoint::committedLabel(label_->text(), stored->label)) {
        CuePoint renamed = *stored;
        renamed.label = *label;
        state_.updateCue(renamed, trackID_);
    }
}

void CueEditorRow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    label_->setText(cue_.label);
}

void CueEditorRow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    commitLabel();
}

}  // namespace kelvara
