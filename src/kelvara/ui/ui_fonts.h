// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace kelvara {

// The interface's type, sized in pixels: the design's sizes are points of a 1× screen, and a
// figure that must not jitter as time runs is monospaced.
class UiFonts {
public:
    static QFont monospaced(int pixels, QFont::Weight weight = QFont::Normal);
    static QFont proportional(int pixels, QFont::Weight weight = QFont::Normal);
};

}  // namespace kelvara
