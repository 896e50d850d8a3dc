// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

namespace kelvara::morvik {

// The self-contained Python the installation downloads, as "PythonRuntime.json" in the
// installer's resources describes it: a gzip-compressed tar and its SHA-256 digest.
struct PythonRuntime {
    QUrl url;
    QString sha256;  // 64 lower-case hexadecimal digits; compared exactly

    // Reads `assets`/PythonRuntime.json. Throws InstallFailure when it cannot be read or lacks
    // either text.
    static PythonRuntime read(const QString& assets);
};

}  // namespace kelvara::morvik
