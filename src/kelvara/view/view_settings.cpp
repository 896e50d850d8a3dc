// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_settings.h"

#include "publish.h"
#include "user_defaults.h"

namespace kelvara {

namespace {
const char* const showBeatGridKey = "showBeatGrid";
const char* const snapToSquaresKey = "snapToSquares";
}  // namespace

ViewSettings::ViewSettings(QObject* parent)
    : QObject(parent),
      showBeatGrid_(UserDefaults::readBool(showBeatGridKey, true)),
      snapToSquares_(UserDefaults::readBool(snapToSquaresKey, true)) {}

void ViewSettings::setViewport(const WaveformViewport& viewport) {
    publish(*this, viewport_, viewport, &ViewSettings::viewportChanged);
}

void ViewSettings::setCompact(bool on) { publish(*this, compact_, on, &ViewSettings::compactChanged); }

void ViewSettings::setShowCues(bool shown) { publish(*this, showCues_, shown, &ViewSettings::showCuesChanged); }

void ViewSettings::setShowGridSettings(bool shown) {
    publish(*this, showGridSettings_, shown, &ViewSettings::showGridSettingsChanged);
}

void ViewSettings::setShowBeatGrid(bool shown) {
    UserDefaults::writeBool(showBeatGridKey, shown);
    publish(*this, showBeatGrid_, shown, &ViewSettings::showBeatGridChanged);
}

void ViewSettings::setSnapToSquares(bool on) {
    UserDefaults::writeBool(snapToSquaresKey, on);
    publish(*this, snapToSquares_, on, &ViewSettings::snapToSquaresChanged);
}

}  // namespace kelvara
