// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

#include <functional>
#include <optional>

namespace kelvara {

// What the input layer over the strip reports, in points from the strip's left edge. It knows
// nothing of time or tracks; the strip decides what each report means.
struct WaveformInput {
    std::function<void(double x, Qt::KeyboardModifiers pressModifiers)> click;
    std::function<void(std::optional<double> x)> hover;  // none when the pointer leaves
    std::function<void(Qt::KeyboardModifiers)> flags;
    std::function<void(double factor, double anchor)> zoom;  // anchor: fraction of the width
    std::function<void(double delta)> pan;                   // in strip widths
    std::function<void()> cancel;
    std::function<void(double x)> origin;
    std::function<void()> stop;
    std::function<void(int steps)> adjust;  // keyboard and assistive seeking, ± steps
    std::function<QString()> value;         // the spoken value of the strip
};

}  // namespace kelvara
