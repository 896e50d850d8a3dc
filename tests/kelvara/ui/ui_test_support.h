// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"

#include <QApplication>
#include <QColor>
#include <QImage>

namespace kelvara::testing {

// The one application object of a widget test process (offscreen platform), made before
// the first test.
QApplication& application();

// A track whose every point has the same level in all three bands.
Waveform steadyWaveform(double duration, float level = 0.8f, std::size_t points = 4000);

// The brightest value (max of r, g, b, weighted by alpha) in a column of pixels [top, bottom).
int brightnessOfColumn(const QImage& image, int x, int top, int bottom);

// The most opaque pixel of the image: the colour a one-colour symbol is drawn in.
QColor strongestPixel(const QImage& image);

// How many pixels of the image are drawn at all (alpha above a quarter).
int coveredPixels(const QImage& image);

// Whether any pixel of the rectangle is close to `color` (each channel within `tolerance`).
bool containsColor(const QImage& image, const QRect& area, const QColor& color, int tolerance);

}  // namespace kelvara::testing
