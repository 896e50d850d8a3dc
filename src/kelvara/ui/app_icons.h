// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>

namespace kelvara {

// The symbols of the window's buttons.
enum class Symbol {
    Play,
    Pause,
    Repeat,
    Lock,
    LockOpen,
    Bookmark,
    BookmarkFilled,
    Ellipsis,
    Plus,
    MinusCircle,
    Close,
    Minimize,
    MicSlash,
    MicSlashFilled,
    Pin,
    PinFilled,
};

// Button symbols in one colour: the desktop's icon theme where it has the freedesktop name
// (its symbolic variant first), else the drawing bundled with the program. Either way the
// shape is tinted, so a theme's icons take the window's colours.
class AppIcons {
public:
    static QIcon icon(Symbol symbol, const QColor& color, int size = 16);
};

}  // namespace kelvara
