// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

class QAction;

namespace kelvara {

class AppState;

// The program's commands with their keyboard shortcuts (Ctrl stands for ⌘): play/pause,
// compact view, pinning, seek lock, zoom, add cue, cue panel. The window adds them so the shortcuts
// work anywhere in it; the menus show them with their keys.
class WindowCommands : public QObject {
    Q_OBJECT

public:
    explicit WindowCommands(AppState& state, QObject* parent = nullptr);

    QAction* playPause() const { return playPause_; }
    QAction* compact() const { return compact_; }
    QAction* pin() const { return pin_; }
    QAction* seekLock() const { return seekLock_; }
    QAction* zoomIn() const { return zoomIn_; }
    QAction* zoomOut() const { return zoomOut_; }
    QAction* wholeTrack() const { return wholeTrack_; }
    QAction* addCue() const { return addCue_; }
    QAction* showCues() const { return showCues_; }

    QList<QAction*> all() const;

private:
    QAction* make(const QString& text, const QList<QKeySequence>& keys);
    void zoomBy(double factor);
    void refresh();

    AppState& state_;
    QAction* playPause_;
    QAction* compact_;
    QAction* pin_;
    QAction* seekLock_;
    QAction* zoomIn_;
    QAction* zoomOut_;
    QAction* wholeTrack_;
    QAction* addCue_;
    QAction* showCues_;
};

}  // namespace kelvara
