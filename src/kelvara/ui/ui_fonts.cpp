// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_fonts.h"

#include <QFontDatabase>

namespace kelvara {

namespace {

QFont sized(QFont font, int pixels, QFont::Weight weight) {
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

}  // namespace

QFont UiFonts::monospaced(int pixels, QFont::Weight weight) {
    return sized(QFontDatabase::systemFont(QFontDatabase::FixedFont), pixels, weight);
}

QFont UiFonts::proportional(int pixels, QFont::Weight weight) {
    return sized(QFontDatabase::systemFont(QFontDatabase::GeneralFont), pixels, weight);
}

}  // namespace kelvara
