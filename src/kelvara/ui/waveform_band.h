// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "models/waveform_viewport.h"
#include "ui/waveform_layers.h"
#include "ui/waveform_tiles.h"

#include <QObject>
#include <QSizeF>
#include <QThreadPool>

#include <cstdint>
#include <memory>
#include <optional>

namespace kelvara {

// Keeps the strip's waveform picture up to date with its view without stalling the window.
// A pan is served at once from the current zoom level's tiles. A new zoom level is painted on
// a worker thread, while the last picture, stretched to the new view, stands in; `painted`
// says when to ask again. A first picture, or one for a new size, is painted at once, since
// there is nothing to stretch.
class WaveformBand : public QObject {
    Q_OBJECT

public:
    struct View {
        WaveformViewport viewport;
        int columnsAcross = 1;
        QSizeF size;  // the band's, in points
        qreal devicePixelRatio = 1;
    };

    explicit WaveformBand(QObject* parent = nullptr);
    ~WaveformBand() override;

    void setWaveform(std::shared_ptr<const Waveform> waveform);
    // Brings `layers` up to `view`, exactly or by a stand-in.
    void show(WaveformLayers& layers, const View& view);
    // The picture last shown is exact, not a stand-in.
    bool isExact() const { return exact_; }

signals:
    void painted();

private:
    static WaveformTiles::Level levelOf(const View& view);
    void paintLevel(const View& view);
    void accept(std::uint64_t generation, WaveformTiles tiles);

    // Main thread.
    std::shared_ptr<const Waveform> waveform_;
    WaveformTiles tiles_;
    std::optional<View> exactView_;  // the view of the last exact picture
    std::optional<WaveformTiles::Level> painting_;
    std::uint64_t generation_ = 0;  // raised by every new painting and every new waveform
    bool exact_ = false;

    // One painting at a time; a newer request replaces one that has not started.
    QThreadPool worker_;
};

}  // namespace kelvara
