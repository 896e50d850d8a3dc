// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/beat_grid.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

bool finiteWithin(double value, double lower, double upper) {
    return std::isfinite(value) && value >= lower && value <= upper;
}

// Boundaries of blocks of length `block` from this origin inside 0…duration, as block
// numbers: the first at or after 0 s and the last at or before the end (with `slack`).
struct BlockRange {
    double lo;
    double hi;
};

BlockRange blockRange(double origin, double block, double duration, double slack) {
    return {std::ceil(-origin / block), std::floor((duration - origin) / block + slack)};
}

}  // namespace

bool BeatGrid::valid() const {
    return finiteWithin(bpm, 30, 300) && finiteWithin(origin, 0, INFINITY) && finiteWithin(confidence, 0, 1);
}

double BeatGrid::nearest(double t, int beats, double duration) const {
    if (!valid() || !std::isfinite(t) || !std::isfinite(duration) || duration <= 0 || beats < 1) {
        return 0;
    }
    const double block = interval() * beats;
    const auto [lo, hi] = blockRange(origin, block, duration, 0);
    if (lo > hi) {
        return std::min(origin, duration);
    }
    const double k = std::clamp(std::round((t - origin) / block), lo, hi);
    return std::min(std::max(origin + k * block, 0.0), duration);
}

double BeatGrid::blockStart(double t, int beats) const {
    if (!valid() || !std::isfinite(t) || beats < 1) {
        return t;
    }
    const double block = interval() * beats;
    return origin + std::floor((t - origin) / block) * block;
}

std::optional<double> BeatGrid::loopBoundary(double t, std::optional<double> after, int beats,
                                             double duration) const {
    if (!valid() || !std::isfinite(t) || !std::isfinite(duration) || duration <= 0 || beats < 1) {
        return std::nullopt;
    }
    const double block = interval() * beats;
    // The tolerance lets a boundary that falls exactly on the track's end count.
    auto [lo, hi] = blockRange(origin, block, duration, 1e-10);
    if (!after) {
        hi -= 1;  // a start needs a whole block after it
    } else {
        if (!std::isfinite(*after)) {
            return std::nullopt;
        }
        const double startBlock = std::round((*after - origin) / block);
        if (std::abs(origin + startBlock * block - *after) >= 1e-6) {
            return std::nullopt;
        }
        lo = std::max(lo, startBlock + 1);
    }
    if (lo > hi) {
        return std::nullopt;
    }
    const double k = std::clamp(std::round((t - origin) / block), lo, hi);
    return std::max(std::min(origin + k * block, duration), 0.0);
}

QJsonObject BeatGrid::toJson() const {
    return QJsonObject{{QStringLiteral("bpm"), bpm},
                       {QStringLiteral("origin"), origin},
                       {QStringLiteral("confidence"), confidence}};
}

std::optional<BeatGrid> BeatGrid::fromJson(const QJsonValue& value) {
    if (!value.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue bpm = object.value(QStringLiteral("bpm"));
    const QJsonValue origin = object.value(QStringLiteral("origin"));
    const QJsonValue confidence = object.value(QStringLiteral("confidence"));
    if (!bpm.isDouble() || !origin.isDouble() || !confidence.isDouble()) {
        return std::nullopt;
    }
    return BeatGrid{bpm.toDouble(), origin.toDouble(), confidence.toDouble()};
}

}  // namespace kelvara
