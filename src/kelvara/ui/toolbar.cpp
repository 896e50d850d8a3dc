// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolbar.h"

#include "app_state.h"
#include "i18n/l.h"
#include "ui/app_icons.h"
#include "ui/busy_spinner.h"
#include "ui/elided_label.h"
#include "ui/system_colors.h"
#include "ui/ui_fonts.h"
#include "ui/vocal_actions.h"
#include "ui/window_commands.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

namespace kelvara {

namespace {

QString cssColor(const QColor& color) {
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alphaF());
}

// Restyling is costly and the toolbar refreshes on every change of the state: only on a new colour.
void setTextColor(QWidget* widget, const QColor& color) {
    const QString rule = QStringLiteral("color: %1;").arg(cssColor(color));
    if (widget->styleSheet() != rule) {
        widget->setStyleSheet(rule);
    }
}

}  // namespace

Toolbar::Toolbar(AppState& state, WindowCommands& commands, QMenu* moreMenu, QWidget* parent)
    : QWidget(parent),
      state_(state),
      play_(makeButton(L("Воспроизведение / Пауза"))),
      title_(new ElidedLabel(this)),
      artist_(new ElidedLabel(this)),
      vocal_(makeButton(QString())),
      vocalSpinner_(new BusySpinner(14, this)),
      bpm_(makeButton(L("BPM и сетка · квадрат 16 долей · нажмите для настройки"))),
      zoom_(makeButton(L("Показать весь трек · ⇧0"))),
      loop_(makeButton(L("Повтор участка включён · нажмите, чтобы отключить"))),
      lock_(makeButton(QString())),
      cue_(makeButton(L("Метки трека · ⌥ + клик на волне или ⌘D в текущей позиции"))),
      pin_(makeButton(QString())),
      more_(makeButton(QString())) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(makeWindowControls());

    play_->setFixedSize(22, 22);
    play_->setIconSize({14, 14});
    connect(play_, &QToolButton::clicked, commands.playPause(), &QAction::trigger);
    layout->addWidget(play_);

    title_->setFont(UiFonts::proportional(13, QFont::Medium));
    artist_->setFont(UiFonts::proportional(11));
    setTextColor(artist_, SystemColors::white(0.45));
    // Title and artist sit side by side at their natural widths and give way (with "…") when
    // the window is narrow; the stretch after them takes what is left.
    layout->addWidget(title_);
    layout->addWidget(artist_);
    layout->addStretch(1);

    connect(vocal_, &QToolButton::clicked, &state_, &AppState::toggleVocals);
    auto* vocalMenu = new QMenu(vocal_);
    (new VocalActions(state_, vocalMenu))->addToButtonMenu(*vocalMenu);
    vocal_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(vocal_, &QWidget::customContextMenuRequested, vocalMenu,
            [this, vocalMenu](const QPoint& at) { vocalMenu->popup(vocal_->mapToGlobal(at)); });
    layout->addWidget(vocalSpinner_);
    layout->addWidget(vocal_);

    bpm_->setFont(UiFonts::monospaced(11, QFont::Medium));
    connect(bpm_, &QToolButton::clicked, this, [this] { state_.view().setShowGridSettings(!state_.view().showGridSettings()); });
    zoom_->setFont(UiFonts::monospaced(10));
    connect(zoom_, &QToolButton::clicked, this, [this] { state_.view().setViewport({}); });
    loop_->setIcon(AppIcons::icon(Symbol::Repeat, SystemColors::mint()));
    loop_->setAccessibleName(L("Выключить повтор участка"));
    connect(loop_, &QToolButton::clicked, &state_, &AppState::stopLoop);
    connect(lock_, &QToolButton::clicked, this, [this] { state_.playback().setSeekLocked(!state_.playback().seekLocked()); });
    connect(cue_, &QToolButton::clicked, this, [this] { state_.view().setShowCues(!state_.view().showCues()); });
    connect(pin_, &QToolButton::clicked, &state_.pin(), &PinControl::cyclePinMode);
    makePinMenu();
    more_->setIcon(AppIcons::icon(Symbol::Ellipsis, SystemColors::white(0.8)));
    more_->setMenu(moreMenu);
    more_->setPopupMode(QToolButton::InstantPopup);
    for (QToolButton* button : {bpm_, zoom_, loop_, lock_, cue_, pin_, more_}) {
        layout->addWidget(button);
    }

    connect(&state_, &AppState::changed, this, &Toolbar::refresh);
    refresh();
}

QToolButton* Toolbar::makeButton(const QString& help) {
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize({14, 14});
    button->setMinimumHeight(22);
    button->setToolTip(help);
    return button;
}

void Toolbar::makePinMenu() {
    pin_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(pin_);
    menu->addAction(L("Отключить закрепление"), &state_.pin(), &PinControl::unpin);
    connect(pin_, &QToolButton::customContextMenuRequested, menu, [this, menu](QPoint at) { menu->popup(pin_->mapToGlobal(at)); });
}

QWidget* Toolbar::makeWindowControls() {
    auto* controls = new QWidget(this);
    controls->setFixedWidth(leadingWidth - 8);
    auto* row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const auto add = [&](Symbol symbol, auto action) {
        auto* button = new QToolButton(controls);
        button->setIcon(AppIcons::icon(symbol, SystemColors::white(0.6), 12));
        button->setIconSize({12, 12});
        button->setFixedSize(20, 20);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, action] { (window()->*action)(); });
        row->addWidget(button);
    };
    add(Symbol::Close, &QWidget::close);
    add(Symbol::Minimize, &QWidget::showMinimized);
    row->addStretch();
    return controls;
}

void Toolbar::refresh() {
    const bool playing = state_.playback().snapshot().playing();
    play_->setIcon(AppIcons::icon(playing ? Symbol::Pause : Symbol::Play, SystemColors::white(0.85)));
    play_->setAccessibleName(L("Воспроизведение / Пауза"));
    play_->setEnabled(state_.canControl());

    refreshTitle();
    refreshVocal();
    artist_->setVisible(!state_.view().compact() && !state_.playback().snapshot().artist.isEmpty());

    bpm_->setText(state_.bpmLabel());
    setTextColor(bpm_, state_.view().snapToSquares() ? SystemColors::withOpacity(SystemColors::mint(), 0.85) : SystemColors::white(0.5));

    const WaveformViewport viewport = state_.view().viewport();
    zoom_->setVisible(viewport.zoom > 1);
    zoom_->setText(QString::asprintf("%.1f×", viewport.zoom));
    loop_->setVisible(state_.loop().activeLoop().has_value());

    const bool locked = state_.playback().seekLocked();
    lock_->setIcon(locked ? AppIcons::icon(Symbol::Lock, SystemColors::withOpacity(SystemColors::mint(), 0.85))
                          : AppIcons::icon(Symbol::LockOpen, SystemColors::withOpacity(SystemColors::orange(), 0.8)));
    lock_->setToolTip(locked ? L("Перемотка и повтор участка выключены · ⌘L") : L("Защита выключена · ⌘L"));
    lock_->setAccessibleName(L("Защита перемотки"));

    cue_->setIcon(AppIcons::icon(state_.marks().cues().empty() ? Symbol::Bookmark : Symbol::BookmarkFilled, SystemColors::white(0.8)));
    cue_->setAccessibleName(L("Метки трека"));

    const bool pinned = state_.pin().pinMode() != PinControl::Unpinned;
    pin_->setIcon(AppIcons::icon(pinned ? Symbol::PinFilled : Symbol::Pin, SystemColors::white(pinned ? 0.85 : 0.6)));
    pin_->setToolTip(state_.pin().pinHelp());
    pin_->setAccessibleName(state_.pin().pinHelp());
}

void Toolbar::refreshVocal() {
    const VocalPreparation& vocals = state_.vocals();
    const bool active = state_.instrumental().vocalActive();
    vocalSpinner_->setVisible(vocals.vocalWorking());
    vocal_->setVisible(!vocals.vocalWorking());
    const QColor color = active                ? SystemColors::orange()
                         : vocals.vocalReady() ? SystemColors::mint()
                                               : SystemColors::white(0.35);
    vocal_->setIcon(AppIcons::icon(active ? Symbol::MicSlashFilled : Symbol::MicSlash, color));
    vocal_->setEnabled(!vocals.vocalWorking() && !state_.instrumental().vocalSwitching() && state_.canControl());
    vocal_->setToolTip(state_.vocalHelp());
    vocal_->setAccessibleName(active ? L("Вернуть вокал") : L("Убрать вокал"));
    vocalSpinner_->setToolTip(state_.vocalHelp());
}

void Toolbar::refreshTitle() {
    const MusicSnapshot& snapshot = state_.playback().snapshot();
    title_->setText(snapshot.title.isEmpty() ? L("Звуковая волна") : snapshot.title);
    artist_->setText(snapshot.artist);
    QStringList parts;
    for (const QString& part : {snapshot.title, snapshot.artist, snapshot.album}) {
        if (!part.isEmpty()) {
            parts.append(part);
        }
    }
    const QString help = parts.join(QStringLiteral(" · "));
    title_->setToolTip(help);
    artist_->setToolTip(help);
}

QString Toolbar::titleText() const { return title_->text(); }

QString Toolbar::artistText() const { return artist_->isHidden() ? QString() : artist_->text(); }

QString Toolbar::titleHelp() const { return title_->toolTip(); }

}  // namespace kelvara
