// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform_column.h"

#include <QImage>
#include <QSizeF>

#include <vector>

namespace kelvara {

// The three-band painting of the display columns (blurred, gradient-filled outlines of the
// whole, low + mid and low bands, and a faint stroke), rendered once per column rebuild into
// an image so that every animation frame only has to place it.
class WaveformLayers {
public:
    static constexpr double blurRadius = 0.65;  // points

    // Renders `columns` spread over a band of `size` points (the band's full height is the
    // waveform's height) at the given device pixel ratio. No columns or no area clears it.
    void rebuild(const std::vector<WaveformColumn>& columns, QSizeF size, qreal devicePixelRatio);
    void clear() { image_ = QImage(); }

    bool isEmpty() const { return image_.isNull(); }
    // Carries its device pixel ratio; draw it at the band's logical rectangle.
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

}  // namespace kelvara
