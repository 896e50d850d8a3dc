// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/strip_binding.h"

#include "app_state.h"
#include "ui/waveform_view.h"

namespace kelvara {

StripBinding::StripBinding(AppState& state, WaveformView& view, QObject* parent) : QObject(parent), state_(state), view_(view) {
    view_.setPositionSource([this] { return state_.position(); });
    view_.setWaveform(state_.waveform());
    view_.setScene(scene());
    connect(&state_, &AppState::waveformChanged, this, [this] { view_.setWaveform(state_.waveform()); });
    connect(&state_, &AppState::loopInChanged, this, &StripBinding::followLoopStart);
    connect(&state_, &AppState::changed, this, [this] {
        view_.setScene(scene());
        view_.followPosition();
    });
    connectRequests();
}

WaveformScene StripBinding::scene() const {
    return {
        .duration = state_.duration(),
        .viewport = state_.viewport(),
        .beatGrid = state_.beatGrid(),
        .loopGrid = loopGrid_,
        .showBeatGrid = state_.showBeatGrid(),
        .snapToSquares = state_.snapToSquares(),
        .cues = state_.cues(),
        .activeLoop = state_.activeLoop(),
        .loopSelection = state_.loopSelection(),
        .loopIn = state_.loopIn(),
        .seekNotice = state_.seekNotice(),
        .canControl = state_.canControl(),
        .animating = state_.snapshot().playing() || state_.previewPosition().has_value(),
    };
}

void StripBinding::followLoopStart() {
    const bool hasLoopStart = state_.loopIn().has_value();
    if (hasLoopStart && !hadLoopStart_) {
        loopGrid_ = state_.beatGrid();
    } else if (!hasLoopStart) {
        loopGrid_.reset();
    }
    hadLoopStart_ = hasLoopStart;
}

void StripBinding::changeViewport(const std::function<void(WaveformViewport&)>& change) {
    WaveformViewport viewport = state_.viewport();
    change(viewport);
    state_.setViewport(viewport);
}

void StripBinding::connectRequests() {
    connect(&view_, &WaveformView::seekRequested, &state_, &AppState::seek);
    connect(&view_, &WaveformView::loopClickRequested, &state_, &AppState::loopClick);
    connect(&view_, &WaveformView::cueRequested, &state_, &AppState::addCue);
    connect(&view_, &WaveformView::zoomRequested, this,
            [this](double factor, double anchor) { changeViewport([&](WaveformViewport& v) { v.magnify(factor, anchor); }); });
    connect(&view_, &WaveformView::panRequested, this,
            [this](double delta) { changeViewport([&](WaveformViewport& v) { v.pan(delta); }); });
    connect(&view_, &WaveformView::cancelRequested, this, [this] {
        state_.setLoopIn(std::nullopt);
        state_.setSeekNotice(std::nullopt);
    });
    connect(&view_, &WaveformView::stopLoopRequested, this, [this] {
        state_.stopLoop();
        state_.setLoopIn(std::nullopt);
        state_.setSeekNotice(std::nullopt);
    });
    connect(&view_, &WaveformView::originRequested, this, [this](double seconds) {
        if (const auto grid = state_.beatGrid()) {
            state_.saveGrid(BeatGrid{grid->bpm, seconds, grid->confidence});
        }
    });
}

}  // namespace kelvara
