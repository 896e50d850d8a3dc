// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// kelvara-analyze --decode FILE: the file's audio exactly as the waveform sees it (same start
// trimming, same length), for the separation worker. Writes to standard output one JSON line
// {"channels": N, "sampleRate": R}, then the frames as interleaved 32-bit little-endian
// floats. On failure writes the error text to standard error; returns the exit status.
int decodeToStandardOutput(const QString& path);

}  // namespace kelvara
