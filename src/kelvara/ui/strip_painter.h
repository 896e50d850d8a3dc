// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/strip_geometry.h"
#include "ui/waveform_layers.h"
#include "ui/waveform_scene.h"

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace kelvara {

// What changes from frame to frame: the play position and the pointer.
struct StripFrame {
    double position = 0;  // seconds
    std::optional<double> hoverX;
    HeldModifiers held;
};

// Where the footer's pieces sit, for drawing them and for their help texts.
struct FooterLayout {
    QRectF elapsed;
    QRectF legend;  // empty when the strip is too narrow for it
    QRectF remaining;
};

// Paints one frame of the waveform strip, bottom layer first: grid, waveform (faint, and
// bright up to the play position), loop regions, play line, loop start, footer, cue markers,
// the notice and the hover readout. Draws inside 0…width except where a mark belongs to a
// time that lies partly off screen; the caller clips.
class StripPainter {
public:
    static constexpr double footerHeight = 18;

    StripPainter(QPainter& painter, QSizeF size, const WaveformScene& scene, const WaveformLayers& layers);

    void paint(const StripFrame& frame);

    // Height of the waveform band of a strip `height` points high.
    static double bandHeight(double height) { return std::max(height - footerHeight, 10.0); }
    static FooterLayout footerLayout(QSizeF size, double position, double duration);

private:
    void drawGrid();
    void drawWaveform(double fraction);
    void drawLoopRegions();
    void drawRegion(const LoopRegion& region, const QColor& color, qreal fillOpacity, qreal borderOpacity);
    void drawPlayLine(double fraction);
    void drawLoopIn();
    void drawFooter(double position);
    void drawCues();
    QRectF drawNotice();
    void drawHover(double x, HeldModifiers held, const QRectF& notice);
    QRectF drawCapsule(QPointF topLeft, const QString& text, const QFont& font);

    double markHeight() const { return std::max(size_.height() - footerHeight, 0.0); }

    QPainter& painter_;
    QSizeF size_;
    const WaveformScene& scene_;
    const WaveformLayers& layers_;
    StripGeometry geometry_;
};

}  // namespace kelvara
