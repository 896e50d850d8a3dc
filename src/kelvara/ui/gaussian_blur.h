// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <vector>

namespace kelvara {

// A separable Gaussian blur of premultiplied ARGB images or alpha masks, in place; outside the image counts
// as transparent. It runs on every zoom and pan step, so each pass is a row-wise
// multiply-add the compiler vectorises, over scratch rows kept between calls. Not shared
// between threads.
class GaussianBlur {
public:
    void apply(QImage& image, double sigma);

private:
    void setSigma(double sigma);
    static std::size_t channels(const QImage& image);
    void blurRows(const QImage& image);     // image → rows_
    void blurColumns(QImage& image);        // rows_ → image

    double sigma_ = 0;
    int radius_ = 0;
    std::vector<float> kernel_;
    std::vector<float> padded_;
    std::vector<float> rows_;
    std::vector<float> sum_;
};

}  // namespace kelvara
