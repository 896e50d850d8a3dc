// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/install_failure.h"

#include <QDir>

namespace kelvara::morvik {

InstallFailure::InstallFailure(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

InstallFailure InstallFailure::about(const QString& path, const QString& reason) {
    return InstallFailure(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace kelvara::morvik
