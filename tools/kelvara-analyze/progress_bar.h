// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// A one-line progress bar on standard error, redrawn in place; silent unless standard error
// is a terminal, so pipes and logs get only the results.
class ProgressBar {
public:
    ProgressBar();

    void show(const QString& label, double fraction);
    // A status text in place of the bar, for work that reports its progress in words.
    void showText(const QString& label, const QString& text);
    // Clears the line so the next output starts on a clean one.
    void clear();

private:
    bool enabled_;
    bool drawn_ = false;
    int lastPercent_ = -1;
};

}  // namespace kelvara
