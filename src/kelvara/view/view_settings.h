// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_range.h"
#include "models/waveform_viewport.h"

#include <QObject>

namespace kelvara {

// How the window shows things, and nothing else depends on: the visible part of the track,
// the compact layout, which panel is open, how the grid is drawn and snapped to, and the tempo
// range the automatic grid is folded into. The grid switches and the range outlive the run.
class ViewSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelvara::WaveformViewport viewport READ viewport WRITE setViewport NOTIFY viewportChanged)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY compactChanged)
    Q_PROPERTY(bool showCues READ showCues WRITE setShowCues NOTIFY showCuesChanged)
    Q_PROPERTY(bool showGridSettings READ showGridSettings WRITE setShowGridSettings NOTIFY showGridSettingsChanged)
    Q_PROPERTY(bool showBeatGrid READ showBeatGrid WRITE setShowBeatGrid NOTIFY showBeatGridChanged)
    Q_PROPERTY(bool snapToSquares READ snapToSquares WRITE setSnapToSquares NOTIFY snapToSquaresChanged)
    Q_PROPERTY(kelvara::TempoRange tempoRange READ tempoRange WRITE setTempoRange NOTIFY tempoRangeChanged)

public:
    explicit ViewSettings(QObject* parent = nullptr);

    const WaveformViewport& viewport() const { return viewport_; }
    bool compact() const { return compact_; }
    bool showCues() const { return showCues_; }
    bool showGridSettings() const { return showGridSettings_; }
    bool showBeatGrid() const { return showBeatGrid_; }
    bool snapToSquares() const { return snapToSquares_; }
    TempoRange tempoRange() const { return tempoRange_; }

    void setViewport(const WaveformViewport& viewport);
    void setCompact(bool on);
    void setShowCues(bool shown);
    void setShowGridSettings(bool shown);
    void setShowBeatGrid(bool shown);
    void setSnapToSquares(bool on);
    void setTempoRange(TempoRange range);

signals:
    void changed();
    void viewportChanged();
    void compactChanged();
    void showCuesChanged();
    void showGridSettingsChanged();
    void showBeatGridChanged();
    void snapToSquaresChanged();
    void tempoRangeChanged();

private:
    WaveformViewport viewport_;
    bool compact_ = false;
    bool showCues_ = false;
    bool showGridSettings_ = false;
    bool showBeatGrid_;
    bool snapToSquares_;
    TempoRange tempoRange_;
};

}  // namespace kelvara
