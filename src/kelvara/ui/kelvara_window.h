// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

namespace kelvara {

class AppState;
class PlayerWindowAttachment;
class ContentView;
class QuitGuard;
class WindowCommands;

// The program's one window, "waveform": no title bar (it is dragged by its background), a
// rounded translucent surface where the desktop composites and opaque grey where it does not,
// always dark. Showing it starts AppState's polling; closing it (the program's quit) first hands
// playback back to the player, and Ctrl+Q closes it. Pinned (mode 1 or 2) it stays above other
// windows; in mode 1 it cannot be dragged; in mode 2 it travels with the player's window.
class KelvaraWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{640, 108};

    KelvaraWindow(AppState& state, bool translucent, QWidget* parent = nullptr);

    ContentView* content() const { return content_; }
    WindowCommands* commands() const { return commands_; }
    bool isTranslucent() const { return translucent_; }
    QuitGuard* quitGuard() const { return quitGuard_; }
    PlayerWindowAttachment* attachment() const { return attachment_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void connectPinning();
    void applyPinMode();
    std::optional<QString> linkRefusal() const;

    AppState& state_;
    bool translucent_;
    WindowCommands* commands_;
    ContentView* content_;
    QuitGuard* quitGuard_;
    PlayerWindowAttachment* attachment_;
    bool desktopReachable_;
    std::optional<QPoint> dragOffset_;  // a drag the window manager does not do for us
};

}  // namespace kelvara
