// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara::morvik {

// The SHA-256 digest of the file as 64 lower-case hexadecimal digits, read memory-mapped (a
// file that cannot be mapped, such as an empty one, is read in blocks). Throws InstallFailure
// with the system's text when the file cannot be read.
QString archiveDigest(const QString& path);

}  // namespace kelvara::morvik
