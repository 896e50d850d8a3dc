// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace kelvara {

class AnalysisOverlay;
class AnchoredPopup;
class AppState;
class MessageRow;
class MoreMenu;
class StripBinding;
class Toolbar;
class ViewportSlider;
class WaveformView;
class WindowCommands;

// The window's content, top to bottom: the toolbar, the waveform strip (with the analysis
// overlay while there is no waveform), the scroll slider while zoomed in, and the message rows:
// a notice (a pinning problem, else a store that failed to load) and the player's error.
// The BPM and cue panels open as popups from their toolbar buttons.
class ContentView : public QWidget {
    Q_OBJECT

public:
    static constexpr int minimumWidth = 360;

    ContentView(AppState& state, WindowCommands& commands, bool translucent, QWidget* parent = nullptr);

    Toolbar* toolbar() const { return toolbar_; }
    WaveformView* strip() const { return strip_; }
    AnalysisOverlay* overlay() const { return overlay_; }
    ViewportSlider* slider() const { return slider_; }
    MessageRow* noticeRow() const { return noticeRow_; }
    MessageRow* errorRow() const { return errorRow_; }
    MoreMenu* moreMenu() const { return moreMenu_; }
    AnchoredPopup* gridPopup() const { return gridPopup_; }
    AnchoredPopup* cuePopup() const { return cuePopup_; }

    QSize minimumSizeHint() const override;

private:
    QWidget* makeStripArea();
    void connectPopups();
    void refresh();
    void dismissNotice();
    void applyCompact(bool compact);

    AppState& state_;
    MoreMenu* moreMenu_;
    Toolbar* toolbar_;
    WaveformView* strip_;
    AnalysisOverlay* overlay_;
    StripBinding* binding_;
    ViewportSlider* slider_;
    MessageRow* noticeRow_;
    MessageRow* errorRow_;
    AnchoredPopup* gridPopup_;
    AnchoredPopup* cuePopup_;
    bool compact_ = false;
};

}  // namespace kelvara
