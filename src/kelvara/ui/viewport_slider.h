// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform_viewport.h"

#include <QSlider>

namespace kelvara {

// The thin scroll bar under a zoomed strip: its value is the viewport's start, its range
// 0 … 1 − 1/zoom. Moving it asks for a pan that puts the start there.
class ViewportSlider : public QSlider {
    Q_OBJECT

public:
    static constexpr int resolution = 100'000;

    explicit ViewportSlider(QWidget* parent = nullptr);

    // Shows the viewport; hidden unless zoomed in.
    void showViewport(const WaveformViewport& viewport);

signals:
    void panRequested(double delta);

private:
    void userMoved(int value);

    WaveformViewport viewport_;
    bool showing_ = false;
};

}  // namespace kelvara
