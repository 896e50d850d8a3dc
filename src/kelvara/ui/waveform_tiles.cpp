// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_tiles.h"

#include "ui/waveform_layers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

// Columns painted beyond a tile's edges so that its own pixels come out as if the whole track
// had been painted at once: the smoothing reaches two columns, a curve one more.
constexpr int marginColumns = 6;

QSize pixelsOf(QSizeF size, qreal devicePixelRatio) {
    return {static_cast<int>(std::ceil(size.width() * devicePixelRatio)), static_cast<int>(std::ceil(size.height() * devicePixelRatio))};
}

// Device pixels of blur that reach into a tile from beyond its edges.
int blurReach(qreal devicePixelRatio) { return static_cast<int>(std::ceil(3 * WaveformLayers::blurRadius * devicePixelRatio)) + 1; }

}  // namespace

void WaveformTiles::clear() {
    level_ = {};
    columns_.clear();
    tiles_.clear();
    bytes_ = 0;
}

QImage WaveformTiles::band(const Waveform& waveform, const WaveformViewport& viewport, int columnsAcross, QSizeF size, qreal devicePixelRatio) {
    const QSize pixels = pixelsOf(size, devicePixelRatio);
    const Level level{viewport.zoom, columnsAcross, size, devicePixelRatio};
    if (level != level_) {
        enter(waveform, level);
    }
    if (columns_.empty() || pixels.isEmpty()) {
        return {};
    }
    // The track is zoom × the visible width long; the band starts `start` of the way along.
    const auto offset = static_cast<int>(std::lround(viewport.start * viewport.zoom * size.width() * devicePixelRatio));
    QImage result(pixels, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        ++shown_;
        for (int index = offset / tileWidth; index * tileWidth < offset + pixels.width(); ++index) {
            painter.drawImage(index * tileWidth - offset, 0, tile(index));
        }
    }
    result.setDevicePixelRatio(devicePixelRatio);
    keepWithinBound();
    return result;
}

void WaveformTiles::enter(const Waveform& waveform, const Level& level) {
    clear();
    level_ = level;
    const auto total = static_cast<int>(std::clamp(std::round(level.columnsAcross * level.zoom), 1.0, static_cast<double>(Waveform::maxPoints)));
    columns_ = waveform.displayColumns(total, 0, 1);
}

// Columns 0 … n − 1 lie from the track's start to its end, the first and the last on the edges,
// as the whole-track view has always drawn them.
double WaveformTiles::spacing() const {
    const double trackWidth = level_.zoom * level_.size.width();
    return trackWidth / static_cast<double>(std::max<std::size_t>(columns_.size() - 1, 1));
}

const QImage& WaveformTiles::tile(int index) {
    auto found = tiles_.find(index);
    if (found == tiles_.end()) {
        QImage image = paintTile(index);
        bytes_ += image.sizeInBytes();
        found = tiles_.emplace(index, Tile{std::move(image), 0}).first;
    }
    found->second.lastShown = shown_;
    return found->second.image;
}

QImage WaveformTiles::paintTile(int index) const {
    const qreal ratio = level_.devicePixelRatio;
    const int reach = blurReach(ratio);
    const QSize pixels(tileWidth + 2 * reach, pixelsOf(level_.size, ratio).height());
    const double left = (index * tileWidth - reach) / ratio;  // points along the track
    const double right = left + pixels.width() / ratio;
    const double step = spacing();
    const auto last = static_cast<double>(columns_.size() - 1);
    const auto first = static_cast<std::size_t>(std::clamp(std::floor(left / step) - marginColumns, 0.0, last));
    const auto end = static_cast<std::size_t>(std::clamp(std::ceil(right / step) + marginColumns, 0.0, last)) + 1;
    const std::vector<WaveformColumn> slice(columns_.begin() + static_cast<std::ptrdiff_t>(first), columns_.begin() + static_cast<std::ptrdiff_t>(end));
    const WaveformLayers::Placement placement{static_cast<double>(first) * step - left, step, level_.size.height()};
    QImage tile = WaveformLayers::render(slice, placement, pixels, ratio).copy(reach, 0, tileWidth, pixels.height());
    tile.setDevicePixelRatio(1);  // placed pixel for pixel into the band
    return tile;
}

void WaveformTiles::keepWithinBound() {
    while (bytes_ > memoryBound_) {
        const auto oldest = std::min_element(tiles_.begin(), tiles_.end(),
                                             [](const auto& a, const auto& b) { return a.second.lastShown < b.second.lastShown; });
        if (oldest->second.lastShown == shown_) {
            return;  // everything left is on screen
        }
        bytes_ -= oldest->second.image.sizeInBytes();
        tiles_.erase(oldest);
    }
}

}  // namespace kelvara
