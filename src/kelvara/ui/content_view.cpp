// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/content_view.h"

#include "app_state.h"
#include "i18n/l.h"
#include "ui/analysis_overlay.h"
#include "ui/anchored_popup.h"
#include "ui/beat_grid_panel.h"
#include "ui/cue_panel.h"
#include "ui/message_row.h"
#include "ui/more_menu.h"
#include "ui/strip_binding.h"
#include "ui/toolbar.h"
#include "ui/viewport_slider.h"
#include "ui/waveform_view.h"
#include "ui/window_commands.h"

#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvara {

namespace {

struct Layout {
    int stripHeight;
    int contentHeight;
};

Layout layoutFor(bool compact) { return compact ? Layout{46, 88} : Layout{64, 106}; }

// Shows `popup` under `button` while `shown` holds; closing it (a click elsewhere, Escape)
// clears the flag again.
void bindPopup(AnchoredPopup* popup, QToolButton* button, bool shown) {
    if (shown && !popup->isVisible()) {
        popup->showAt(button);
    } else if (!shown && popup->isVisible()) {
        popup->hide();
    }
}

}  // namespace

ContentView::ContentView(AppState& state, WindowCommands& commands, bool translucent, QWidget* parent)
    : QWidget(parent),
      state_(state),
      moreMenu_(new MoreMenu(state, commands, this)),
      toolbar_(new Toolbar(state, commands, moreMenu_, this)),
      strip_(new WaveformView(this)),
      overlay_(new AnalysisOverlay(this)),
      binding_(new StripBinding(state, *strip_, this)),
      slider_(new ViewportSlider(this)),
      noticeRow_(new MessageRow(L("Закрыть"), false, this)),
      errorRow_(new MessageRow(L("Повторить"), true, this)),
      gridPopup_(new AnchoredPopup(translucent, this)),
      cuePopup_(new AnchoredPopup(translucent, this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 7, 12, 7);
    column->setSpacing(4);
    column->addWidget(toolbar_);
    column->addWidget(makeStripArea(), 1);
    column->addWidget(slider_);
    column->addWidget(noticeRow_);
    column->addWidget(errorRow_);

    connect(slider_, &ViewportSlider::panRequested, this, [this](double delta) {
        WaveformViewport viewport = state_.view().viewport();
        viewport.pan(delta);
        state_.view().setViewport(viewport);
    });
    connect(noticeRow_->button(), &QPushButton::clicked, this, &ContentView::dismissNotice);
    connect(errorRow_->button(), &QPushButton::clicked, &state_, &AppState::retry);
    connectPopups();
    strip_->setMinimumHeight(layoutFor(compact_).stripHeight);
    connect(&state_, &AppState::changed, this, &ContentView::refresh);
    refresh();
}

QWidget* ContentView::makeStripArea() {
    auto* area = new QWidget(this);
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(strip_, 0, 0);
    stack->addWidget(overlay_, 0, 0);
    return area;
}

void ContentView::connectPopups() {
    gridPopup_->setContent(new BeatGridPanel(state_));
    cuePopup_->setContent(new CuePanel(state_));
    connect(gridPopup_, &AnchoredPopup::closed, this, [this] { state_.view().setShowGridSettings(false); });
    connect(cuePopup_, &AnchoredPopup::closed, this, [this] { state_.view().setShowCues(false); });
    ViewSettings* view = &state_.view();
    connect(view, &ViewSettings::showGridSettingsChanged, this,
            [this, view] { bindPopup(gridPopup_, toolbar_->bpmButton(), view->showGridSettings()); });
    connect(view, &ViewSettings::showCuesChanged, this,
            [this, view] { bindPopup(cuePopup_, toolbar_->cueButton(), view->showCues()); });
}

void ContentView::refresh() {
    const AnalysisFollower& analysis = state_.analysis();
    applyCompact(state_.view().compact());
    overlay_->showState(analysis.waveform().has_value(), analysis.analysisMessage(), analysis.analysisProgress(),
                        state_.view().compact());
    slider_->showViewport(state_.view().viewport());
    noticeRow_->setMessage(state_.pin().pinError() ? state_.pin().pinError() : state_.marks().storeNotice());
    errorRow_->setMessage(state_.playback().controlError());
}

// The row shows the pinning problem first, the store's notice after it is closed.
void ContentView::dismissNotice() {
    if (state_.pin().pinError()) {
        state_.pin().dismissError();
    } else {
        state_.marks().dismissStoreNotice();
    }
}

void ContentView::applyCompact(bool compact) {
    if (compact == compact_) {
        return;
    }
    compact_ = compact;
    strip_->setMinimumHeight(layoutFor(compact).stripHeight);
    updateGeometry();
}

// Never smaller than the design's minimum; larger when a message row needs the room.
QSize ContentView::minimumSizeHint() const {
    const QSize needed = layout() ? layout()->minimumSize() : QSize();
    return needed.expandedTo(QSize(minimumWidth, layoutFor(compact_).contentHeight));
}

}  // namespace kelvara
