// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "models/waveform_viewport.h"

#include <QImage>
#include <QSizeF>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kelvara {

// The waveform of one zoom level laid out along the whole track, painted in tiles of a fixed
// width as they come into view. A pan paints only the tiles it exposes, and since the columns
// belong to the track rather than to the view's left edge, the picture slides instead of
// being re-sampled. Tiles are kept up to a memory bound, the longest unseen going first, so a
// long track zoomed in never holds its whole length. One thread at a time; a painted set of
// tiles may be handed to another thread.
class WaveformTiles {
public:
    static constexpr int tileWidth = 128;                           // device pixels
    static constexpr std::int64_t defaultMemoryBound = 32ll << 20;  // bytes of tiles kept

    explicit WaveformTiles(std::int64_t memoryBound = defaultMemoryBound) : memoryBound_(memoryBound) {}

    // What decides every tile's pixels besides the waveform.
    struct Level {
        double zoom = 0;
        int columnsAcross = 0;
        QSizeF size;
        qreal devicePixelRatio = 0;
        bool operator==(const Level&) const = default;
    };

    // Forgets every tile; for a new waveform.
    void clear();
    // The zoom level the tiles are painted for (none painted: a level that matches nothing).
    const Level& level() const { return level_; }

    // The visible band of `size` points (the waveform's full height) at the device pixel
    // ratio, with `columnsAcross` display columns over the visible width. Null when the
    // waveform has nothing to draw or the band has no area.
    QImage band(const Waveform& waveform, const WaveformViewport& viewport, int columnsAcross, QSizeF size, qreal devicePixelRatio);

    std::int64_t bytes() const { return bytes_; }

private:
    struct Tile {
        QImage image;
        std::uint64_t lastShown = 0;
    };

    void enter(const Waveform& waveform, const Level& level);
    const QImage& tile(int index);
    QImage paintTile(int index) const;
    void keepWithinBound();
    double spacing() const;  // points between columns along the track

    std::int64_t memoryBound_;
    Level level_;
    std::vector<WaveformColumn> columns_;  // the whole track's, at this level
    std::unordered_map<int, Tile> tiles_;
    std::int64_t bytes_ = 0;
    std::uint64_t shown_ = 0;
};

}  // namespace kelvara
