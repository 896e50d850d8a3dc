// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace kelvara::morvik {

// Bytes an unprivileged user may still write on the volume holding `folder` (statvfs
// f_bavail: the reserve kept for root does not count). Throws InstallFailure with the
// system's text when the volume cannot be read.
std::optional<qint64> availableSpace(const QString& folder);

}  // namespace kelvara::morvik
