// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_layers.h"

#include "ui/gaussian_blur.h"
#include "ui/system_colors.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>

namespace kelvara {

namespace {

using Series = std::vector<double>;

// Half-heights of the three outlines, innermost band last.
struct Envelopes {
    Series full;
    Series lowMid;
    Series lowOnly;
};

Envelopes envelopes(const std::vector<WaveformColumn>& columns, double bandHeight) {
    Envelopes result;
    for (const WaveformColumn& column : columns) {
        const double amplitude = (bandHeight - 4) * column.level * 0.5;
        const double low = std::sqrt(column.low);
        const double mid = std::sqrt(column.mid);
        const double high = std::sqrt(column.high);
        const double total = std::max(low + mid + high, 1e-7);
        result.full.push_back(amplitude);
        result.lowMid.push_back(amplitude * (low + mid) / total);
        result.lowOnly.push_back(amplitude * low / total);
    }
    return result;
}

// Five taps 0.1, 0.2, 0.4, 0.2, 0.1; the edge values repeat past both ends.
Series smooth(const Series& values) {
    static constexpr std::array<double, 5> weights{0.1, 0.2, 0.4, 0.2, 0.1};
    const auto last = static_cast<std::ptrdiff_t>(values.size()) - 1;
    Series result(values.size());
    for (std::ptrdiff_t i = 0; i <= last; ++i) {
        double sum = 0;
        for (std::ptrdiff_t k = -2; k <= 2; ++k) {
            sum += weights[static_cast<std::size_t>(k + 2)] * values[static_cast<std::size_t>(std::clamp(i + k, std::ptrdiff_t{0}, last))];
        }
        result[static_cast<std::size_t>(i)] = sum;
    }
    return result;
}

// Quadratic segments through the midpoints, so the outline is smooth but still passes near
// every column.
void contour(QPainterPath& path, const std::vector<QPointF>& points, bool startsPath) {
    startsPath ? path.moveTo(points.front()) : path.lineTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPointF& previous = points[i - 1];
        path.quadTo(previous, (previous + points[i]) / 2);
    }
    path.lineTo(points.back());
}

QPainterPath envelope(const Series& halfHeights, WaveformLayers::Placement placement) {
    const double centre = placement.bandHeight / 2;
    std::vector<QPointF> top;
    std::vector<QPointF> bottom;
    for (std::size_t i = 0; i < halfHeights.size(); ++i) {
        const double x = placement.origin + placement.spacing * static_cast<double>(i);
        top.emplace_back(x, centre - halfHeights[i]);
        bottom.emplace_back(x, centre + halfHeights[i]);
    }
    std::reverse(bottom.begin(), bottom.end());
    QPainterPath path;
    contour(path, top, true);
    contour(path, bottom, false);
    path.closeSubpath();
    return path;
}

// The bands' opacity at y points from the top: 0.08 at the edges, 0.85 on the centre line,
// straight in between.
double bandOpacity(double y, double bandHeight) {
    const double fromCentre = std::min(std::abs(2 * y / bandHeight - 1), 1.0);
    return 0.85 + (0.08 - 0.85) * fromCentre;
}

// Scales every row by its opacity, in 1/256 steps, which keeps the loop in integers.
void applyBandOpacity(QImage& mask, double bandHeight) {
    const auto width = static_cast<std::size_t>(mask.width());
    for (int y = 0; y < mask.height(); ++y) {
        const double centre = (y + 0.5) / mask.devicePixelRatio();
        const auto gain = static_cast<std::uint32_t>(std::lround(256 * bandOpacity(centre, bandHeight)));
        uchar* row = mask.scanLine(y);
        for (std::size_t x = 0; x < width; ++x) {
            row[x] = static_cast<uchar>((row[x] * gain + 128) >> 8);
        }
    }
}

// How much of a layer's colour lies on each pixel: the outline's coverage under the bands'
// vertical opacity. A layer is one colour, so blurring this single channel and tinting
// afterwards gives the blurred colour layer at a quarter of the work.
QImage coverage(QSize pixels, qreal devicePixelRatio, const QPainterPath& outline, double bandHeight) {
    QImage mask(pixels, QImage::Format_Alpha8);
    mask.setDevicePixelRatio(devicePixelRatio);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(outline, Qt::white);
    }
    applyBandOpacity(mask, bandHeight);
    // One per thread, so its scratch rows are reused from layer to layer.
    thread_local GaussianBlur blur;
    blur.apply(mask, WaveformLayers::blurRadius * devicePixelRatio);
    return mask;
}

// The three layers, each source-over the ones before, onto a transparent start: colours in
// memory order B, G, R, A. v / 255 rounded is (v + 128 + ((v + 128) >> 8)) >> 8 for every v
// that can occur, which keeps the loop in vectorisable integer steps.
using Tint = std::array<std::uint32_t, 4>;

std::uint32_t over(std::uint32_t color, std::uint32_t alpha, std::uint32_t under) {
    const std::uint32_t v = color * alpha + under * (255 - alpha) + 128;
    return (v + (v >> 8)) >> 8;
}

void tintRow(uchar* __restrict pixels, const std::array<const uchar*, 3>& masks, const std::array<Tint, 3>& tints, std::size_t width) {
    const uchar* __restrict outer = masks[0];
    const uchar* __restrict middle = masks[1];
    const uchar* __restrict inner = masks[2];
    for (std::size_t x = 0; x < width; ++x) {
        for (std::size_t c = 0; c < 4; ++c) {
            const std::uint32_t value = over(tints[2][c], inner[x], over(tints[1][c], middle[x], over(tints[0][c], outer[x], 0)));
            pixels[4 * x + c] = static_cast<uchar>(value);
        }
    }
}

Tint tintOf(const QColor& color) {
    return {static_cast<std::uint32_t>(color.blue()), static_cast<std::uint32_t>(color.green()), static_cast<std::uint32_t>(color.red()), 255};
}

}  // namespace

void WaveformLayers::rebuild(const std::vector<WaveformColumn>& columns, QSizeF size, qreal devicePixelRatio) {
    const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    if (columns.empty() || pixels.isEmpty()) {
        clear();
        return;
    }
    const double spacing = size.width() / static_cast<double>(std::max<std::size_t>(columns.size() - 1, 1));
    image_ = render(columns, {0, spacing, size.height()}, pixels, devicePixelRatio);
}

// A track fraction f lies at (f − start) × zoom × width in either view.
void WaveformLayers::stretch(const WaveformViewport& from, const WaveformViewport& to, double width) {
    stretch_ = {to.zoom / from.zoom, (from.start - to.start) * to.zoom * width};
}

QRectF WaveformLayers::placedIn(const QRectF& band) const {
    return {band.left() + stretch_.shift, band.top(), band.width() * stretch_.scale, band.height()};
}

QImage WaveformLayers::render(const std::vector<WaveformColumn>& columns, Placement placement, QSize pixels, qreal devicePixelRatio) {
    const Envelopes series = envelopes(columns, placement.bandHeight);
    const QPainterPath full = envelope(smooth(series.full), placement);

    // Blue shows the whole height (the high band), green the low and mid bands, orange the low.
    const std::array<QImage, 3> masks{
        coverage(pixels, devicePixelRatio, full, placement.bandHeight),
        coverage(pixels, devicePixelRatio, envelope(smooth(series.lowMid), placement), placement.bandHeight),
        coverage(pixels, devicePixelRatio, envelope(smooth(series.lowOnly), placement), placement.bandHeight),
    };
    static const std::array<Tint, 3> tints{tintOf(QColor::fromRgbF(0.18f, 0.62f, 1.0f)), tintOf(QColor::fromRgbF(0.13f, 0.9f, 0.65f)),
                                           tintOf(QColor::fromRgbF(1.0f, 0.52f, 0.3f))};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    for (int y = 0; y < pixels.height(); ++y) {
        tintRow(image.scanLine(y), {masks[0].constScanLine(y), masks[1].constScanLine(y), masks[2].constScanLine(y)}, tints,
                static_cast<std::size_t>(pixels.width()));
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(SystemColors::withOpacity(SystemColors::cyan(), 0.22), 0.5));
    painter.drawPath(full);
    return image;
}

}  // namespace kelvara
