// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "ui/waveform_scene.h"

#include <QObject>

#include <optional>

namespace kelvara {

class AppState;
class WaveformView;

// Feeds the strip from AppState (scene, waveform, play position) and carries the strip's
// requests back to AppState's operations.
class StripBinding : public QObject {
    Q_OBJECT

public:
    StripBinding(AppState& state, WaveformView& view, QObject* parent = nullptr);

    WaveformScene scene() const;

private:
    void connectRequests();
    void followLoopStart();
    void changeViewport(const std::function<void(WaveformViewport&)>& change);

    AppState& state_;
    WaveformView& view_;
    // The grid in force at the first Ctrl-click; the loop's end is measured on it.
    std::optional<BeatGrid> loopGrid_;
    bool hadLoopStart_ = false;
};

}  // namespace kelvara
