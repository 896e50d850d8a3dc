// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// Turns the path the player reports into a checked local file.
class TrackResolver {
public:
    // The standardised path with symbolic links resolved. Throws WaveformError when the
    // path is empty (a stream or a protected track) or the file cannot be read.
    static QString resolve(const QString& path);
};

}  // namespace kelvara
