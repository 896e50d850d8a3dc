// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/time_label.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kelvara {

QString timeLabel(double seconds) {
    // Beyond this no clock text is meaningful; the bound keeps the conversion defined.
    constexpr double longest = 1e15;
    const auto whole = std::isfinite(seconds) && seconds > 0
                           ? static_cast<std::int64_t>(std::min(seconds, longest))
                           : std::int64_t{0};
    const std::int64_t hours = whole / 3600;
    const std::int64_t minutes = whole / 60 % 60;
    const std::int64_t secs = whole % 60;
    const auto twoDigits = [](std::int64_t value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    if (hours == 0) {
        return QStringLiteral("%1:%2").arg(twoDigits(minutes), twoDigits(secs));
    }
    return QStringLiteral("%1:%2:%3").arg(QString::number(hours), twoDigits(minutes), twoDigits(secs));
}

}  // namespace kelvara
