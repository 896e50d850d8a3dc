// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_layers.h"

#include "ui/system_colors.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
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

QPainterPath envelope(const Series& halfHeights, double spacing, double centre) {
    std::vector<QPointF> top;
    std::vector<QPointF> bottom;
    for (std::size_t i = 0; i < halfHeights.size(); ++i) {
        const double x = spacing * static_cast<double>(i);
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

// Separable Gaussian over premultiplied pixels; outside the image counts as transparent.
void gaussianBlur(QImage& image, double sigma) {
    const int radius = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
    std::vector<float> kernel;
    float total = 0;
    for (int k = -radius; k <= radius; ++k) {
        kernel.push_back(static_cast<float>(std::exp(-(k * k) / (2 * sigma * sigma))));
        total += kernel.back();
    }
    for (float& weight : kernel) {
        weight /= total;
    }
    const int width = image.width();
    const int height = image.height();
    const auto at = [width](int x, int y) { return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4; };

    std::vector<float> source(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < width * 4; ++x) {
            source[at(0, y) + static_cast<std::size_t>(x)] = row[x];
        }
    }
    std::vector<float> pass(source.size(), 0.0f);
    const auto blurInto = [&](const std::vector<float>& from, std::vector<float>& to, int dx, int dy) {
        std::fill(to.begin(), to.end(), 0.0f);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                for (int k = -radius; k <= radius; ++k) {
                    const int sx = x + k * dx;
                    const int sy = y + k * dy;
                    if (sx < 0 || sx >= width || sy < 0 || sy >= height) {
                        continue;
                    }
                    const float weight = kernel[static_cast<std::size_t>(k + radius)];
                    for (std::size_t c = 0; c < 4; ++c) {
                        to[at(x, y) + c] += weight * from[at(sx, sy) + c];
                    }
                }
            }
        }
    };
    blurInto(source, pass, 1, 0);
    blurInto(pass, source, 0, 1);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width * 4; ++x) {
            row[x] = static_cast<uchar>(std::clamp(std::lround(source[at(0, y) + static_cast<std::size_t>(x)]), 0L, 255L));
        }
    }
}

QImage blankImage(QSize pixels, qreal devicePixelRatio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

// One outline in its own layer: a vertical gradient that is strongest on the centre line,
// softened by the blur before it joins the others.
void paintLayer(QImage& target, const QPainterPath& outline, const QColor& color, double bandHeight) {
    QImage layer = blankImage(target.size(), target.devicePixelRatio());
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 0, bandHeight);
        gradient.setColorAt(0.0, SystemColors::withOpacity(color, 0.08));
        gradient.setColorAt(0.5, SystemColors::withOpacity(color, 0.85));
        gradient.setColorAt(1.0, SystemColors::withOpacity(color, 0.08));
        painter.fillPath(outline, gradient);
    }
    gaussianBlur(layer, WaveformLayers::blurRadius * target.devicePixelRatio());
    QPainter painter(&target);
    painter.drawImage(QPointF(0, 0), layer);
}

}  // namespace

void WaveformLayers::rebuild(const std::vector<WaveformColumn>& columns, QSizeF size, qreal devicePixelRatio) {
    const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    if (columns.empty() || pixels.isEmpty()) {
        clear();
        return;
    }
    const double bandHeight = size.height();
    const double spacing = size.width() / static_cast<double>(std::max<std::size_t>(columns.size() - 1, 1));
    const Envelopes series = envelopes(columns, bandHeight);
    const QPainterPath full = envelope(smooth(series.full), spacing, bandHeight / 2);

    image_ = blankImage(pixels, devicePixelRatio);
    paintLayer(image_, full, QColor::fromRgbF(0.18f, 0.62f, 1.0f), bandHeight);
    paintLayer(image_, envelope(smooth(series.lowMid), spacing, bandHeight / 2), QColor::fromRgbF(0.13f, 0.9f, 0.65f), bandHeight);
    paintLayer(image_, envelope(smooth(series.lowOnly), spacing, bandHeight / 2), QColor::fromRgbF(1.0f, 0.52f, 0.3f), bandHeight);

    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(SystemColors::withOpacity(SystemColors::cyan(), 0.22), 0.5));
    painter.drawPath(full);
}

}  // namespace kelvara
