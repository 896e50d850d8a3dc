// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_band.h"

namespace kelvara {

WaveformBand::WaveformBand(QObject* parent) : QObject(parent) { worker_.setMaxThreadCount(1); }

WaveformBand::~WaveformBand() {
    worker_.clear();
    worker_.waitForDone();
}

void WaveformBand::setWaveform(std::shared_ptr<const Waveform> waveform) {
    waveform_ = std::move(waveform);
    ++generation_;
    tiles_.clear();
    exactView_.reset();
    painting_.reset();
}

WaveformTiles::Level WaveformBand::levelOf(const View& view) {
    return {view.viewport.zoom, view.columnsAcross, view.size, view.devicePixelRatio};
}

void WaveformBand::show(WaveformLayers& layers, const View& view) {
    if (!waveform_) {
        layers.clear();
        return;
    }
    const WaveformTiles::Level level = levelOf(view);
    const bool sameSize = exactView_ && exactView_->size == view.size && exactView_->devicePixelRatio == view.devicePixelRatio;
    exact_ = level == tiles_.level() || !sameSize;
    if (exact_) {
        layers.assign(tiles_.band(*waveform_, view.viewport, view.columnsAcross, view.size, view.devicePixelRatio));
        exactView_ = view;
        return;
    }
    layers.stretch(exactView_->viewport, view.viewport, view.size.width());
    if (painting_ != level) {
        paintLevel(view);
    }
}

void WaveformBand::paintLevel(const View& view) {
    const std::uint64_t generation = ++generation_;
    painting_ = levelOf(view);
    worker_.clear();
    worker_.start([this, generation, view, waveform = waveform_] {
        WaveformTiles tiles;
        tiles.band(*waveform, view.viewport, view.columnsAcross, view.size, view.devicePixelRatio);
        QMetaObject::invokeMethod(this, [this, generation, tiles = std::move(tiles)]() mutable { accept(generation, std::move(tiles)); },
                                  Qt::QueuedConnection);
    });
}

void WaveformBand::accept(std::uint64_t generation, WaveformTiles tiles) {
    if (generation != generation_) {
        return;  // a newer level or another waveform was asked for meanwhile
    }
    tiles_ = std::move(tiles);
    painting_.reset();
    emit painted();
}

}  // namespace kelvara
