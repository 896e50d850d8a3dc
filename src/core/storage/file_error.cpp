// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_error.h"

#include "logging/log_categories.h"

#include <QDir>

namespace kelvara {

WaveformError fileError(const QString& path, const QString& reason) {
    qCDebug(storageLog) << "file error:" << path << reason;
    return WaveformError::unavailable(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace kelvara
