// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform_error.h"

#include <QString>

namespace kelvara {

// A failed file operation, carrying the system's own description of it after the path.
WaveformError fileError(const QString& path, const QString& reason);

}  // namespace kelvara
