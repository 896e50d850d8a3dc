// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QMenu;
class QToolButton;

namespace kelvara {

class AppState;
class ElidedLabel;
class WindowCommands;

// The one-line toolbar above the strip, left to right: window controls (where the title bar
// would be), play/pause, title and artist, then BPM, zoom, loop, seek lock, cues and the
// pin and the "more" menu. The vocal button belongs just before BPM; the row has room for it.
class Toolbar : public QWidget {
    Q_OBJECT

public:
    static constexpr int leadingWidth = 66;

    Toolbar(AppState& state, WindowCommands& commands, QMenu* moreMenu, QWidget* parent = nullptr);

    QToolButton* playButton() const { return play_; }
    QToolButton* bpmButton() const { return bpm_; }
    QToolButton* zoomButton() const { return zoom_; }
    QToolButton* loopButton() const { return loop_; }
    QToolButton* lockButton() const { return lock_; }
    QToolButton* cueButton() const { return cue_; }
    QToolButton* pinButton() const { return pin_; }
    QToolButton* moreButton() const { return more_; }
    QString titleText() const;
    QString artistText() const;
    QString titleHelp() const;

private:
    QWidget* makeWindowControls();
    void makePinMenu();
    QToolButton* makeButton(const QString& help);
    void refresh();
    void refreshTitle();

    AppState& state_;
    QToolButton* play_;
    ElidedLabel* title_;
    ElidedLabel* artist_;
    QToolButton* bpm_;
    QToolButton* zoom_;
    QToolButton* loop_;
    QToolButton* lock_;
    QToolButton* cue_;
    QToolButton* pin_;
    QToolButton* more_;
};

}  // namespace kelvara
