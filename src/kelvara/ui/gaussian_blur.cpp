// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gaussian_blur.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

// out[i] += weight × in[i] over n values: the loop every pass is made of.
void addScaled(float* out, const float* in, float weight, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] += weight * in[i];
    }
}

// Sums are never negative (weights and pixels are not), so rounding is adding a half.
// Restrict: a byte pointer may alias anything, which would keep the loop scalar.
void storeRounded(uchar* __restrict out, const float* __restrict in, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<uchar>(static_cast<int>(std::min(in[i] + 0.5f, 255.0f)));
    }
}

}  // namespace

void GaussianBlur::setSigma(double sigma) {
    sigma_ = sigma;
    radius_ = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
    kernel_.clear();
    float total = 0;
    for (int k = -radius_; k <= radius_; ++k) {
        kernel_.push_back(static_cast<float>(std::exp(-(k * k) / (2 * sigma * sigma))));
        total += kernel_.back();
    }
    for (float& weight : kernel_) {
        weight /= total;
    }
}

void GaussianBlur::apply(QImage& image, double sigma) {
    if (image.isNull()) {
        return;
    }
    if (sigma != sigma_) {
        setSigma(sigma);
    }
    blurRows(image);
    blurColumns(image);
}

// Each row is copied between zero margins as wide as the kernel, so the taps need no bounds.
// Bytes per pixel: four for ARGB, one for an alpha mask; each byte is blurred on its own.
std::size_t GaussianBlur::channels(const QImage& image) { return static_cast<std::size_t>(image.depth() / 8); }

void GaussianBlur::blurRows(const QImage& image) {
    const std::size_t channels = GaussianBlur::channels(image);
    const std::size_t values = static_cast<std::size_t>(image.width()) * channels;
    const std::size_t margin = static_cast<std::size_t>(radius_) * channels;
    padded_.assign(values + 2 * margin, 0.0f);
    rows_.assign(values * static_cast<std::size_t>(image.height()), 0.0f);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* source = image.constScanLine(y);
        std::copy(source, source + values, padded_.begin() + static_cast<std::ptrdiff_t>(margin));
        float* out = rows_.data() + static_cast<std::size_t>(y) * values;
        for (std::size_t k = 0; k < kernel_.size(); ++k) {
            addScaled(out, padded_.data() + k * channels, kernel_[k], values);
        }
    }
}

void GaussianBlur::blurColumns(QImage& image) {
    const std::size_t values = static_cast<std::size_t>(image.width()) * channels(image);
    sum_.resize(values);
    for (int y = 0; y < image.height(); ++y) {
        std::fill(sum_.begin(), sum_.end(), 0.0f);
        const int first = std::max(y - radius_, 0);
        const int last = std::min(y + radius_, image.height() - 1);
        for (int sy = first; sy <= last; ++sy) {
            addScaled(sum_.data(), rows_.data() + static_cast<std::size_t>(sy) * values, kernel_[static_cast<std::size_t>(sy - y + radius_)], values);
        }
        storeRounded(image.scanLine(y), sum_.data(), values);
    }
}

}  // namespace kelvara
