// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/strip_binding.h"

#include "app_state.h"
#include "ui/waveform_view.h"

namespace kelvara {

StripBinding::StripBinding(AppState& state, WaveformView& view, QObject* parent) : QObject(parent), state_(state), view_(view) {
    view_.setPositionSource([this] { return state_.position(); });
    view_.setWaveform(state_.analysis().waveform());
    view_.setScene(scene());
    connect(&state_.analysis(), &AnalysisFollower::waveformChanged, this,
            [this] { view_.setWaveform(state_.analysis().waveform()); });
    connect(&state_, &AppState::changed, this, [this] {
        view_.setScene(scene());
        view_.followPosition();
    });
    connectRequests();
}

WaveformScene StripBinding::scene() const {
    const ViewSettings& view = state_.view();
    const LoopControl& loop = state_.loop();
    const PlaybackLink& playback = state_.playback();
    return {
        .duration = state_.duration(),
        .viewport = view.viewport(),
        .beatGrid = state_.marks().beatGrid(),
        .loopGrid = loop.loopGrid(),
        .showBeatGrid = view.showBeatGrid(),
        .snapToSquares = view.snapToSquares(),
        .cues = state_.marks().cues(),
        .activeLoop = loop.activeLoop(),
        .loopSelection = loop.loopSelection(),
        .loopIn = loop.loopIn(),
        .seekNotice = playback.seekNotice(),
        .canControl = state_.canControl(),
        .animating = playback.snapshot().playing() || playback.previewPosition().has_value(),
        .playing = playback.snapshot().playing() && !playback.previewPosition().has_value(),
    };
}

void StripBinding::changeViewport(const std::function<void(WaveformViewport&)>& change) {
    WaveformViewport viewport = state_.view().viewport();
    change(viewport);
    state_.view().setViewport(viewport);
}

void StripBinding::connectRequests() {
    connect(&view_, &WaveformView::seekRequested, &state_, &AppState::seek);
    connect(&view_, &WaveformView::loopClickRequested, &state_, &AppState::loopClick);
    connect(&view_, &WaveformView::cueRequested, &state_, &AppState::addCue);
    connect(&view_, &WaveformView::zoomRequested, this,
            [this](double factor, double anchor) { changeViewport([&](WaveformViewport& v) { v.magnify(factor, anchor); }); });
    connect(&view_, &WaveformView::panRequested, this,
            [this](double delta) { changeViewport([&](WaveformViewport& v) { v.pan(delta); }); });
    connect(&view_, &WaveformView::cancelRequested, &state_.loop(), &LoopControl::cancelStart);
    connect(&view_, &WaveformView::stopLoopRequested, this, [this] {
        state_.stopLoop();
        state_.loop().cancelStart();
    });
    connect(&view_, &WaveformView::originRequested, this, [this](double seconds) {
        if (const auto grid = state_.marks().beatGrid()) {
            state_.saveGrid(BeatGrid{grid->bpm, seconds, grid->confidence});
        }
    });
}

}  // namespace kelvara
