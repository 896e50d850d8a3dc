// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QMenu;
class QToolButton;

namespace kelvara {

class AppState;
class BusySpinner;
class ElidedLabel;
class WindowCommands;

// The one-line toolbar above the strip, left to right: window controls (where the title bar
// would be), play/pause, title and artist, then the vocal button (a spinner while the
// instrumental is prepared), BPM, zoom, loop, seek lock, cues, the pin and the "more" menu.
class Toolbar : public QWidget {
    Q_OBJECT

public:
    static constexpr int leadingWidth = 66;

    Toolbar(AppState& state, WindowCommands& commands, QMenu* moreMenu, QWidget* parent = nullptr);

    QToolButton* playButton() const { return play_; }
    QToolButton* vocalButton() const { return vocal_; }
    BusySpinner* vocalSpinner() const { return vocalSpinner_; }
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
    void refreshVocal();

    AppState& state_;
    QToolButton* play_;
    ElidedLabel* title_;
    ElidedLabel* artist_;
    QToolButton* vocal_;
    BusySpinner* vocalSpinner_;
    QToolButton* bpm_;
    QToolButton* zoom_;
    QToolButton* loop_;
    QToolButton* lock_;
    QToolButton* cue_;
    QToolButton* pin_;
    QToolButton* more_;
};

}  // namespace kelvara
