// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cue_point.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kelvara {

class AppState;

// One cue in the cue panel: its colour (a menu), its time (click to seek there), its name
// (saved on Return and when the row goes away) and a remove button.
class CueEditorRow : public QWidget {
    Q_OBJECT

public:
    CueEditorRow(AppState& state, const CuePoint& cue, const QString& trackID, QWidget* parent = nullptr);

    const CuePoint& cue() const { return cue_; }
    const QString& trackID() const { return trackID_; }
    // Takes the stored cue's colour and time; the name being typed stays as it is.
    void setCue(const CuePoint& cue);
    void refresh();
    void commitLabel();

    QToolButton* timeButton() const { return time_; }
    QLineEdit* labelField() const { return label_; }
    QToolButton* colorButton() const { return color_; }
    QToolButton* removeButton() const { return remove_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void chooseColor(int color);

    AppState& state_;
    CuePoint cue_;
    QString trackID_;
    QToolButton* color_;
    QToolButton* time_;
    QLineEdit* label_;
    QToolButton* remove_;
};

}  // namespace kelvara
