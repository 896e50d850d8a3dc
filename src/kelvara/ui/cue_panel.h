// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace kelvara {

class AppState;
class CueEditorRow;

// The cues of the current track: add one at the play position, and a row per cue to recolour,
// rename, remove or jump to it.
class CuePanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int listHeight = 220;

    explicit CuePanel(AppState& state, QWidget* parent = nullptr);

    QPushButton* addButton() const { return add_; }
    const std::vector<CueEditorRow*>& rows() const { return rows_; }
    QString errorText() const;
    QString footerText() const;

private:
    void refresh();
    void syncRows();

    AppState& state_;
    QPushButton* add_;
    QLabel* title_;
    QLabel* error_;
    QScrollArea* list_;
    QVBoxLayout* rowsLayout_;
    QLabel* hint_;
    QLabel* footer_;
    std::vector<CueEditorRow*> rows_;
    bool syncing_ = false;
    bool syncAgain_ = false;
};

}  // namespace kelvara
