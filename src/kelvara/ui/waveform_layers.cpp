// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_layers.h"

#include "ui/gaussian_blur.h"
#include "ui/system_colors.h"

#include <QLinearGradient>
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

QImage blankImage(QSize pixels, qreal devicePixelRatio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

// How much of a layer's colour lies on each pixel. A layer is one colour under a vertical
// opacity gradient, so blurring this single channel and tinting afterwards gives the blurred
// colour layer at a quarter of the work.
QImage coverage(QSize pixels, qreal devicePixelRatio, const QPainterPath& outline, double bandHeight) {
    QImage mask(pixels, QImage::Format_Alpha8);
    mask.setDevicePixelRatio(devicePixelRatio);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, bandHeight);
    gradient.setColorAt(0.0, SystemColors::white(0.08));
    gradient.setColorAt(0.5, SystemColors::white(0.85));
    gradient.setColorAt(1.0, SystemColors::white(0.08));
    painter.fillPath(outline, gradient);
    return mask;
}

// Source-over of a colour (bytes in memory order B, G, R, A) at each pixel's coverage onto one
// row of premultiplied ARGB. v / 255 rounded is (v + 128 + ((v + 128) >> 8)) >> 8 for every v
// that can occur, which keeps the loop in vectorisable integer steps.
void tintRow(uchar* __restrict pixels, const uchar* __restrict coverage, const std::array<std::uint32_t, 4>& color, int width) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t a = coverage[x];
        for (std::size_t c = 0; c < 4; ++c) {
            uchar& channel = pixels[4 * static_cast<std::size_t>(x) + c];
            const std::uint32_t v = color[c] * a + channel * (255 - a) + 128;
            channel = static_cast<uchar>((v + (v >> 8)) >> 8);
        }
    }
}

void tint(QImage& target, const QImage& mask, const QColor& color) {
    const std::array<std::uint32_t, 4> channels{static_cast<std::uint32_t>(color.blue()), static_cast<std::uint32_t>(color.green()),
                                                static_cast<std::uint32_t>(color.red()), 255};
    const int width = target.width();
    for (int y = 0; y < target.height(); ++y) {
        tintRow(target.scanLine(y), mask.constScanLine(y), channels, width);
    }
}

// One outline in its own layer: a vertical gradient that is strongest on the centre line,
// softened by the blur before it joins the others.
void paintLayer(QImage& target, const QPainterPath& outline, const QColor& color, double bandHeight) {
    QImage mask = coverage(target.size(), target.devicePixelRatio(), outline, bandHeight);
    // One per thread, so its scratch rows are reused from layer to layer.
    thread_local GaussianBlur blur;
    blur.apply(mask, WaveformLayers::blurRadius * target.devicePixelRatio());
    tint(target, mask, color);
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

QImage WaveformLayers::render(const std::vector<WaveformColumn>& columns, Placement placement, QSize pixels, qreal devicePixelRatio) {
    const Envelopes series = envelopes(columns, placement.bandHeight);
    const QPainterPath full = envelope(smooth(series.full), placement);

    QImage image = blankImage(pixels, devicePixelRatio);
    paintLayer(image, full, QColor::fromRgbF(0.18f, 0.62f, 1.0f), placement.bandHeight);
    paintLayer(image, envelope(smooth(series.lowMid), placement), QColor::fromRgbF(0.13f, 0.9f, 0.65f), placement.bandHeight);
    paintLayer(image, envelope(smooth(series.lowOnly), placement), QColor::fromRgbF(1.0f, 0.52f, 0.3f), placement.bandHeight);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(SystemColors::withOpacity(SystemColors::cyan(), 0.22), 0.5));
    painter.drawPath(full);
    return image;
}

}  // namespace kelvara
