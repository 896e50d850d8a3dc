// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform_column.h"
#include "models/waveform_viewport.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace kelvara {

// The three-band painting of the display columns (blurred, gradient-filled outlines of the
// whole, low + mid and low bands, and a faint stroke) as an image of the visible band, so
// that every animation frame only has to place it.
class WaveformLayers {
public:
    static constexpr double blurRadius = 0.65;  // points

    // Where the columns go, in points: column i at x = origin + spacing × i; the band's full
    // height is the waveform's height.
    struct Placement {
        double origin;
        double spacing;
        double bandHeight;
    };

    // Renders `columns` spread over a band of `size` points at the given device pixel ratio,
    // first column on the left edge, last on the right. No columns or no area clears it.
    void rebuild(const std::vector<WaveformColumn>& columns, QSizeF size, qreal devicePixelRatio);
    // Takes a band image made elsewhere (pieced together from tiles).
    void assign(QImage image) {
        image_ = std::move(image);
        stretch_ = {1, 0};
    }
    // Shows the picture made for viewport `from` where its music lies in viewport `to`:
    // stretched and shifted, a stand-in while `to` is being painted.
    void stretch(const WaveformViewport& from, const WaveformViewport& to, double width);
    void clear() { assign(QImage()); }

    // The painting of `columns` (at least one) into a new transparent image of `pixels`
    // device pixels; what lies outside it is cut off, blurred edges included.
    static QImage render(const std::vector<WaveformColumn>& columns, Placement placement, QSize pixels, qreal devicePixelRatio);

    bool isEmpty() const { return image_.isNull(); }
    // Carries its device pixel ratio.
    const QImage& image() const { return image_; }
    // Where to draw the image for a band at `band`: the band itself, unless stretched.
    QRectF placedIn(const QRectF& band) const;

private:
    struct Stretch {
        double scale;
        double shift;  // points
    };

    QImage image_;
    Stretch stretch_{1, 0};
};

}  // namespace kelvara
