// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_settings.h"

#include "publish.h"
#include "storage/settings.h"

namespace kelvara {

ViewSettings::ViewSettings(QObject* parent)
    : QObject(parent),
      showBeatGrid_(Settings().showBeatGrid()),
      snapToSquares_(Settings().snapToSquares()),
      tempoRange_(Settings().tempoRange()) {}

void ViewSettings::setViewport(const WaveformViewport& viewport) {
    publish(*this, viewport_, viewport, &ViewSettings::viewportChanged);
}

void ViewSettings::setCompact(bool on) { publish(*this, compact_, on, &ViewSettings::compactChanged); }

void ViewSettings::setShowCues(bool shown) { publish(*this, showCues_, shown, &ViewSettings::showCuesChanged); }

void ViewSettings::setShowGridSettings(bool shown) {
    publish(*this, showGridSettings_, shown, &ViewSettings::showGridSettingsChanged);
}

void ViewSettings::setShowBeatGrid(bool shown) {
    Settings().setShowBeatGrid(shown);
    publish(*this, showBeatGrid_, shown, &ViewSettings::showBeatGridChanged);
}

void ViewSettings::setSnapToSquares(bool on) {
    Settings().setSnapToSquares(on);
    publish(*this, snapToSquares_, on, &ViewSettings::snapToSquaresChanged);
}

void ViewSettings::setTempoRange(TempoRange range) {
    Settings().setTempoRange(range);
    publish(*this, tempoRange_, range, &ViewSettings::tempoRangeChanged);
}

}  // namespace kelvara
