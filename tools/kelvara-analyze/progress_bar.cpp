// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_bar.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace kelvara {

namespace {

constexpr int barWidth = 30;

}  // namespace

ProgressBar::ProgressBar() : enabled_(::isatty(STDERR_FILENO) == 1) {}

void ProgressBar::show(const QString& label, double fraction) {
    const int percent = std::clamp(static_cast<int>(fraction * 100), 0, 100);
    if (!enabled_ || percent == lastPercent_) {
        return;
    }
    lastPercent_ = percent;
    const int filled = percent * barWidth / 100;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(barWidth - filled, QLatin1Char('.'));
    std::fprintf(stderr, "\r\033[K[%s] %3d%% %s", qUtf8Printable(bar), percent, qUtf8Printable(label));
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::showText(const QString& label, const QString& text) {
    if (!enabled_) {
        return;
    }
    std::fprintf(stderr, "\r\033[K%s: %s", qUtf8Printable(QFileInfo(label).fileName()), qUtf8Printable(text));
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::clear() {
    if (drawn_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }
    drawn_ = false;
    lastPercent_ = -1;
}

}  // namespace kelvara
