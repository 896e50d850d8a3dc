// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/waveform_scene.h"

#include <QObject>

#include <functional>

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
    void changeViewport(const std::function<void(WaveformViewport&)>& change);

    AppState& state_;
    WaveformView& view_;
};

}  // namespace kelvara
