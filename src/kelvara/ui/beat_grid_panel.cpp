// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/beat_grid_panel.h"

#include "analysis/tempo_range.h"
#include "app_state.h"
#include "i18n/l.h"
#include "ui/panel_label.h"
#include "ui/toggle_switch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

namespace kelvara {

namespace {

constexpr double lowestBpm = 30;
constexpr double highestBpm = 300;
constexpr double uncertainBelow = 0.35;

// The whole text as a decimal number, with a comma allowed for the point; no spaces or signs
// around it.
std::optional<double> parseBpm(QString text) {
    const QByteArray digits = text.replace(QLatin1Char(','), QLatin1Char('.')).toUtf8();
    double value = 0;
    const auto [end, error] = std::from_chars(digits.constData(), digits.constData() + digits.size(), value);
    if (error != std::errc() || end != digits.constData() + digits.size() || digits.isEmpty()) {
        return std::nullopt;
    }
    return value;
}

// Numbers read alike in every language; only Auto is a word.
QString rangeLabel(TempoRange range) {
    return range.isAuto() ? L("Авто") : QStringLiteral("%1–%2").arg(range.lowest).arg(2 * range.lowest);
}

// The place of `range` among the choices offered, in their order.
int choiceIndex(TempoRange range) {
    return static_cast<int>(std::ranges::find(TempoRange::choices, range) - TempoRange::choices.begin());
}

}  // namespace

BeatGridPanel::BeatGridPanel(AppState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      showGrid_(new ToggleSwitch(L("Показывать сетку"), this)),
      snap_(new ToggleSwitch(L("Клик — к ближайшему квадрату"), this)),
      range_(new QComboBox(this)),
      bpm_(new QLineEdit(this)),
      apply_(new QPushButton(L("Применить"), this)),
      half_(new QPushButton(QStringLiteral("÷2"), this)),
      twice_(new QPushButton(QStringLiteral("×2"), this)),
      earlier_(new QPushButton(L("−0,01 с"), this)),
      later_(new QPushButton(L("+0,01 с"), this)),
      here_(new QPushButton(L("Квадрат здесь"), this)),
      info_(panelLabel(QString(), "secondary", this)),
      uncertain_(panelLabel(L("Ритм определён неуверенно — проверьте сетку на слух."), "warning", this)),
      error_(panelLabel(QString(), "warning", this)),
      restore_(new QPushButton(L("Вернуть автоматическую сетку"), this)) {
    setFixedWidth(370);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);

    auto* heading = new QHBoxLayout;
    heading->addWidget(panelLabel(L("BPM и сетка"), "headline", this));
    heading->addStretch();
    heading->addWidget(panelLabel(L("4 такта · 16 долей"), "secondary", this));
    column->addLayout(heading);

    column->addWidget(showGrid_);
    column->addWidget(snap_);
    connect(showGrid_, &ToggleSwitch::toggled, &state_.view(), &ViewSettings::setShowBeatGrid);
    connect(snap_, &ToggleSwitch::toggled, &state_.view(), &ViewSettings::setSnapToSquares);

    column->addWidget(makeRangeRow());
    column->addWidget(makeTempoRow());
    column->addWidget(makeOriginRow());
    column->addWidget(info_);
    column->addWidget(uncertain_);
    column->addWidget(error_);

    auto* restoreRow = new QHBoxLayout;
    restoreRow->addWidget(restore_);
    restoreRow->addStretch();
    column->addLayout(restoreRow);
    connect(restore_, &QPushButton::clicked, this, [this] {
        state_.saveGrid(std::nullopt);
        reload();
    });

    column->addWidget(panelLabel(L("Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. "
                              "⌘ + два клика — начало и конец повторяемого участка."),
                            "secondary", this));

    connect(&state_, &AppState::changed, this, &BeatGridPanel::refresh);
    reload();
}

QWidget* BeatGridPanel::makeRangeRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    QLabel* title = panelLabel(L("Диапазон темпа"), "secondary", this);
    title->setBuddy(range_);
    for (const TempoRange& choice : TempoRange::choices) {
        range_->addItem(rangeLabel(choice));
    }
    range_->setAccessibleName(title->text());
    connect(range_, &QComboBox::activated, this,
            [this](int index) { state_.view().setTempoRange(TempoRange::choices.at(static_cast<std::size_t>(index))); });
    layout->addWidget(title);
    layout->addWidget(range_);
    layout->addStretch();
    return row;
}

QWidget* BeatGridPanel::makeTempoRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    bpm_->setPlaceholderText(QStringLiteral("BPM"));
    bpm_->setAccessibleName(QStringLiteral("BPM"));
    bpm_->setFixedWidth(75);
    connect(bpm_, &QLineEdit::returnPressed, this, &BeatGridPanel::applyBpm);
    connect(apply_, &QPushButton::clicked, this, &BeatGridPanel::applyBpm);
    connect(half_, &QPushButton::clicked, this, [this] { saveWith([](BeatGrid& grid) { grid.bpm *= 0.5; }); });
    connect(twice_, &QPushButton::clicked, this, [this] { saveWith([](BeatGrid& grid) { grid.bpm *= 2; }); });
    for (QWidget* item : std::initializer_list<QWidget*>{bpm_, apply_, half_, twice_}) {
        layout->addWidget(item);
    }
    layout->addStretch();
    return row;
}

QWidget* BeatGridPanel::makeOriginRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    const auto clampedOrigin = [this](double seconds) { return std::clamp(seconds, 0.0, std::max(state_.duration(), 0.0)); };
    connect(earlier_, &QPushButton::clicked, this,
            [this, clampedOrigin] { saveWith([&](BeatGrid& grid) { grid.origin = clampedOrigin(grid.origin - originStep); }); });
    connect(later_, &QPushButton::clicked, this,
            [this, clampedOrigin] { saveWith([&](BeatGrid& grid) { grid.origin = clampedOrigin(grid.origin + originStep); }); });
    here_->setToolTip(L("Текущая позиция станет началом музыкального квадрата"));
    connect(here_, &QPushButton::clicked, this,
            [this, clampedOrigin] { saveWith([&](BeatGrid& grid) { grid.origin = clampedOrigin(state_.position()); }); });
    for (QPushButton* button : {earlier_, later_, here_}) {
        layout->addWidget(button);
    }
    layout->addStretch();
    return row;
}

void BeatGridPanel::saveWith(const std::function<void(BeatGrid&)>& change) {
    std::optional<BeatGrid> grid = state_.marks().beatGrid();
    if (!grid) {
        return;
    }
    change(*grid);
    state_.saveGrid(grid);
}

void BeatGridPanel::applyBpm() {
    const std::optional<double> value = parseBpm(bpm_->text());
    if (!value || !(*value >= lowestBpm && *value <= highestBpm)) {
        inputError_ = L("Введите BPM от 30 до 300");
        refresh();
        return;
    }
    inputError_.reset();
    const std::optional<BeatGrid> grid = state_.marks().beatGrid();
    state_.saveGrid(BeatGrid{*value, grid ? grid->origin : state_.position(), 1.0});
    refresh();
}

void BeatGridPanel::reload() {
    shownGrid_ = state_.marks().beatGrid();
    shownKey_ = state_.marks().gridKey();
    bpm_->setText(shownGrid_ ? QString::asprintf("%.2f", shownGrid_->bpm) : QString());
    inputError_.reset();
    refresh();
}

void BeatGridPanel::refresh() {
    // Another grid, or another track or file: the panel starts afresh.
    if (state_.marks().beatGrid() != shownGrid_ || state_.marks().gridKey() != shownKey_) {
        reload();  // calls refresh again with the new grid
        return;
    }
    const std::optional<BeatGrid>& grid = shownGrid_;
    const bool manual = state_.marks().gridIsManual();
    showGrid_->setChecked(state_.view().showBeatGrid());
    snap_->setChecked(state_.view().snapToSquares());
    range_->setCurrentIndex(choiceIndex(state_.view().tempoRange()));
    apply_->setEnabled(state_.canControl() && state_.duration() > 0);
    for (QPushButton* button : {half_, twice_, earlier_, later_, here_}) {
        button->setEnabled(grid.has_value());
    }
    if (!grid) {
        info_->setText(state_.analysis().analysisProgress() ? L("BPM рассчитывается вместе с волной…")
                                                 : L("Устойчивый ритм не найден. Можно ввести BPM вручную."));
    } else {
        info_->setText(L("Начало: ") + QString::asprintf(L("%.2f с").toUtf8().constData(), grid->origin) +
                       (manual ? L(" · вручную") : L(" · авто, ориентировочно")));
    }
    uncertain_->setVisible(grid && !manual && grid->confidence < uncertainBelow);
    const std::optional<QString> error = inputError_ ? inputError_ : state_.marks().gridError();
    error_->setText(error.value_or(QString()));
    error_->setVisible(error.has_value());
    restore_->setEnabled(manual);
}

QString BeatGridPanel::errorText() const { return error_->isHidden() ? QString() : error_->text(); }

QString BeatGridPanel::infoText() const { return info_->text(); }

}  // namespace kelvara
