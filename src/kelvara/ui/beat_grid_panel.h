// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvara {

class AppState;
class ToggleSwitch;

// The BPM and grid settings of the current track: show the grid, snap clicks to squares, the
// tempo range of automatic grids, a typed tempo, half or double tempo, nudging or placing the first beat of a square, and going
// back to the automatic grid.
class BeatGridPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr double originStep = 0.01;  // seconds

    explicit BeatGridPanel(AppState& state, QWidget* parent = nullptr);

    // Puts the grid's tempo into the BPM field and forgets a typing error.
    void reload();

    QLineEdit* bpmField() const { return bpm_; }
    QPushButton* applyButton() const { return apply_; }
    QComboBox* tempoRangeBox() const { return range_; }
    QString errorText() const;
    QString infoText() const;

private:
    QWidget* makeRangeRow();
    QWidget* makeTempoRow();
    QWidget* makeOriginRow();
    void applyBpm();
    void saveWith(const std::function<void(BeatGrid&)>& change);
    void refresh();

    AppState& state_;
    ToggleSwitch* showGrid_;
    ToggleSwitch* snap_;
    QComboBox* range_;
    QLineEdit* bpm_;
    QPushButton* apply_;
    QPushButton* half_;
    QPushButton* twice_;
    QPushButton* earlier_;
    QPushButton* later_;
    QPushButton* here_;
    QLabel* info_;
    QLabel* uncertain_;
    QLabel* error_;
    QPushButton* restore_;
    std::optional<QString> inputError_;
    std::optional<BeatGrid> shownGrid_;
    QString shownKey_;
};

}  // namespace kelvara
