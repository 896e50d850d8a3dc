// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace kelvara::testing {

namespace {

// The application object lives from before the first test to after the last, and goes
// before the program's exit handlers run (a static one would outlive parts of Qt it uses).
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "window_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

QApplication& application() { return *qApp; }

Waveform steadyWaveform(double duration, float level, std::size_t points) {
    const std::vector<float> values(points, level);
    return Waveform::make(duration, values, values, values, values, values);
}

int brightnessOfColumn(const QImage& image, int x, int top, int bottom) {
    int brightest = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y) {
        const QColor pixel = image.pixelColor(x, y);
        brightest = std::max(brightest, std::max({pixel.red(), pixel.green(), pixel.blue()}) * pixel.alpha() / 255);
    }
    return brightest;
}

QColor strongestPixel(const QImage& image) {
    QColor strongest(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            strongest = pixel.alpha() > strongest.alpha() ? pixel : strongest;
        }
    }
    return strongest;
}

int coveredPixels(const QImage& image) {
    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            covered += image.pixelColor(x, y).alpha() > 64 ? 1 : 0;
        }
    }
    return covered;
}

bool containsColor(const QImage& image, const QRect& area, const QColor& color, int tolerance) {
    const QRect bounded = area.intersected(image.rect());
    for (int y = bounded.top(); y <= bounded.bottom(); ++y) {
        for (int x = bounded.left(); x <= bounded.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) <= tolerance && std::abs(pixel.green() - color.green()) <= tolerance &&
                std::abs(pixel.blue() - color.blue()) <= tolerance) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace kelvara::testing
