// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/waveform_scene.h"

#include <QString>

#include <optional>

namespace kelvara {

// The modifier keys the strip cares about while the pointer hovers it: Ctrl stands for the
// loop ("command"), Alt or Shift for a cue ("option").
struct HeldModifiers {
    bool command = false;
    bool option = false;

    bool operator==(const HeldModifiers&) const = default;
};

// Where times lie on a strip `width` points wide showing `scene`, and what a click or the
// hover readout at a point means. Pure arithmetic; the strip and its tests share it.
class StripGeometry {
public:
    static constexpr double cueReach = 5;  // points

    StripGeometry(const WaveformScene& scene, double width) : scene_(scene), width_(width) {}

    double width() const { return width_; }

    // 0 at the left edge, 1 at the right; outside 0…1 is off screen.
    double screenFraction(double seconds) const;
    // x of a time in points.
    double xOf(double seconds) const { return width_ * screenFraction(seconds); }
    // The track time under a point, held inside the visible range.
    double timeAt(double x) const;

    // The closest cue within reach of x; the earlier in the list on equal distances.
    std::optional<CuePoint> nearestCue(double x) const;
    // Where a plain click seeks: a cue in reach, else the nearest square when snapping, else the time.
    double clickTarget(double x) const;
    // Where the hover line stands for the held modifiers.
    double hoverTarget(double x, HeldModifiers held) const;
    // The text of the hover capsule.
    QString hoverLabel(double x, HeldModifiers held) const;

private:
    double safeDuration() const;
    std::optional<BeatGrid> loopGridInUse() const;
    std::optional<double> loopBoundaryAt(double x) const;

    const WaveformScene& scene_;
    double width_;
};

}  // namespace kelvara
