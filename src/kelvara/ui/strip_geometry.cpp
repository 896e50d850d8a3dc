// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/strip_geometry.h"

#include "i18n/l.h"
#include "models/time_label.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

double StripGeometry::safeDuration() const { return std::max(scene_.duration, 0.001); }

double StripGeometry::screenFraction(double seconds) const {
    return (seconds / safeDuration() - scene_.viewport.start) * scene_.viewport.zoom;
}

double StripGeometry::timeAt(double x) const {
    const double screen = std::clamp(x / std::max(width_, 1.0), 0.0, 1.0);
    return scene_.duration * (scene_.viewport.start + screen / scene_.viewport.zoom);
}

std::optional<CuePoint> StripGeometry::nearestCue(double x) const {
    if (scene_.duration <= 0) {
        return std::nullopt;
    }
    std::optional<CuePoint> nearest;
    double nearestDistance = cueReach;
    for (const CuePoint& cue : scene_.cues) {
        const double distance = std::abs(xOf(cue.seconds) - x);
        // Strictly closer replaces, so the earlier cue keeps a tie.
        if (distance <= cueReach && (!nearest || distance < nearestDistance)) {
            nearest = cue;
            nearestDistance = distance;
        }
    }
    return nearest;
}

double StripGeometry::clickTarget(double x) const {
    if (const auto cue = nearestCue(x)) {
        return cue->seconds;
    }
    const double t = timeAt(x);
    if (scene_.snapToSquares && scene_.beatGrid) {
        return scene_.beatGrid->nearest(t, BeatGrid::beatsPerSquare, scene_.duration);
    }
    return t;
}

std::optional<BeatGrid> StripGeometry::loopGridInUse() const {
    return scene_.loopIn ? scene_.loopGrid : scene_.beatGrid;
}

std::optional<double> StripGeometry::loopBoundaryAt(double x) const {
    const auto grid = loopGridInUse();
    if (!grid) {
        return std::nullopt;
    }
    return grid->loopBoundary(timeAt(x), scene_.loopIn, BeatGrid::beatsPerSquare, scene_.duration);
}

double StripGeometry::hoverTarget(double x, HeldModifiers held) const {
    if (held.command) {
        return loopBoundaryAt(x).value_or(timeAt(x));
    }
    if (held.option) {
        return timeAt(x);
    }
    return clickTarget(x);
}

QString StripGeometry::hoverLabel(double x, HeldModifiers held) const {
    if (held.command) {
        const auto boundary = loopBoundaryAt(x);
        if (!boundary) {
            return L("Нет квадрата / BPM");
        }
        return (scene_.loopIn ? L("Выход □ ") : L("Вход □ ")) + timeLabel(*boundary);
    }
    if (held.option) {
        return L("Метка · ") + timeLabel(timeAt(x));
    }
    if (const auto cue = nearestCue(x)) {
        return cue->label + QStringLiteral(" · ") + timeLabel(cue->seconds);
    }
    const QString square = scene_.snapToSquares && scene_.beatGrid ? QStringLiteral("□ ") : QString();
    return square + timeLabel(hoverTarget(x, held));
}

}  // namespace kelvara
