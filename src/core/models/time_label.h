// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// Clock text of a time: "mm:ss" under an hour, else "h:mm:ss", whole seconds truncated.
// Negative, infinite and NaN times read as 00:00.
QString timeLabel(double seconds);

}  // namespace kelvara
