// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/viewport_slider.h"

#include "i18n/l.h"

#include <cmath>

namespace kelvara {

ViewportSlider::ViewportSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setFixedHeight(10);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(L("Прокрутка видимого участка волны"));
    setAccessibleName(L("Положение обзора волны"));
    setRange(0, resolution);
    connect(this, &QSlider::valueChanged, this, &ViewportSlider::userMoved);
    hide();
}

void ViewportSlider::showViewport(const WaveformViewport& viewport) {
    viewport_ = viewport;
    const double last = 1 - viewport.length();
    showing_ = true;
    setPageStep(static_cast<int>(std::lround(viewport.length() / std::max(last, 1e-9) * resolution)));
    setValue(last > 0 ? static_cast<int>(std::lround(viewport.start / last * resolution)) : 0);
    showing_ = false;
    setVisible(viewport.zoom > 1);
}

void ViewportSlider::userMoved(int value) {
    if (showing_) {
        return;
    }
    const double start = static_cast<double>(value) / resolution * (1 - viewport_.length());
    emit panRequested((start - viewport_.start) * viewport_.zoom);
}

}  // namespace kelvara
