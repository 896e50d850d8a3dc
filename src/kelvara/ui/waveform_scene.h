// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/cue_point.h"
#include "models/loop_region.h"
#include "models/waveform_viewport.h"

#include <QString>

#include <optional>
#include <vector>

namespace kelvara {

// Everything the waveform strip draws besides the waveform itself and the play position:
// plain values, filled by whoever owns the state. The strip never learns where they came from.
struct WaveformScene {
    double duration = 0;  // seconds; ≤ 0 means no track to draw against
    WaveformViewport viewport{};
    std::optional<BeatGrid> beatGrid{};  // the grid in force
    std::optional<BeatGrid> loopGrid{};  // the grid the pending loop start was measured on
    bool showBeatGrid = true;
    bool snapToSquares = true;
    std::vector<CuePoint> cues{};  // the current track's, sorted by time
    std::optional<LoopRegion> activeLoop{};
    std::optional<LoopRegion> loopSelection{};
    std::optional<double> loopIn{};
    std::optional<QString> seekNotice{};
    bool canControl = false;
    bool animating = false;  // playing, or a preview position is shown
    bool playing = false;    // the position runs with the clock

    bool operator==(const WaveformScene&) const = default;
};

}  // namespace kelvara
