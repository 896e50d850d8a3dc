// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QJsonValue>

#include <optional>

namespace kelvara {

// The tempo grid of one track. Beat k lies at origin + k × interval() for every integer k;
// sixteen beats (four bars of four) make a "square", the block in which clicks snap and
// loops are cut.
struct BeatGrid {
    static constexpr int beatsPerBar = 4;
    static constexpr int beatsPerSquare = 16;

    double bpm = 0;
    double origin = 0;      // seconds: the time of one beat
    double confidence = 0;  // 0…1; manual grids carry 1

    bool operator==(const BeatGrid&) const = default;

    // Seconds per beat.
    double interval() const { return 60.0 / bpm; }

    // bpm in 30…300, origin ≥ 0 (−0.0 allowed), confidence in 0…1; all finite.
    bool valid() const;

    // The nearest boundary of `beats`-beat blocks to t inside the track, 0 when the
    // arguments or the grid are unusable.
    double nearest(double t, int beats, double duration) const;

    // The start of the `beats`-beat block that holds t (blocks run on either side of the
    // origin, unbounded); t itself when the grid or t is unusable.
    double blockStart(double t, int beats) const;

    // The block boundary for a loop click at t: a start when `after` is absent (a whole
    // block must still fit after it), else an end at least one block after `after`, which
    // must itself lie on this grid.
    std::optional<double> loopBoundary(double t, std::optional<double> after, int beats, double duration) const;

    // Keyed form {"bpm", "origin", "confidence"}. Reading needs all three as numbers and
    // does not check valid(); the users do.
    QJsonObject toJson() const;
    static std::optional<BeatGrid> fromJson(const QJsonValue& value);
};

}  // namespace kelvara
