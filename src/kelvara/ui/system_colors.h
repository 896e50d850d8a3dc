// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cue_color.h"

#include <QColor>

namespace kelvara {

// The few named colours of the dark interface. Mint, orange, cyan and pink are the cue
// palette's, so markers and the rest of the window speak the same colours.
struct SystemColors {
    static QColor mint() { return fromRgb(cueColor(0)); }
    static QColor orange() { return fromRgb(cueColor(1)); }
    static QColor cyan() { return fromRgb(cueColor(2)); }
    static QColor pink() { return fromRgb(cueColor(3)); }
    static QColor red() { return QColor(255, 69, 58); }

    // White (or any colour) at an opacity, the way the design gives most of its tones.
    static QColor white(qreal opacity) { return withOpacity(Qt::white, opacity); }
    static QColor withOpacity(QColor color, qreal opacity) {
        color.setAlphaF(static_cast<float>(opacity));
        return color;
    }

    static QColor fromRgb(RgbColor color) { return QColor::fromRgb(color.argb()); }
};

}  // namespace kelvara
