// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace kelvara {

// Writes a whole file so that readers see either the old or the new content, never a part:
// a temporary file in the same folder, flushed to disk, then renamed over the target.
class AtomicFile {
public:
    // Creates the folder (with missing parents) first. Throws WaveformError carrying the
    // system's description of what failed, prefixed with the path; the target is then
    // unchanged.
    static void write(const QString& path, const QByteArray& bytes);
};

}  // namespace kelvara
