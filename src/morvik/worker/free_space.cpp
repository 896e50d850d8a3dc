// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/free_space.h"

#include "worker/install_failure.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/statvfs.h>

namespace kelvara::morvik {

std::optional<qint64> availableSpace(const QString& folder) {
    struct statvfs volume {};
    if (::statvfs(QFile::encodeName(folder).constData(), &volume) != 0) {
        throw InstallFailure::about(folder, QString::fromLocal8Bit(std::strerror(errno)));
    }
    const auto blocks = static_cast<unsigned long long>(volume.f_bavail);
    const auto blockSize = static_cast<unsigned long long>(volume.f_frsize);
    if (blockSize != 0 && blocks > static_cast<unsigned long long>(std::numeric_limits<qint64>::max()) / blockSize) {
        return std::numeric_limits<qint64>::max();
    }
    return static_cast<qint64>(blocks * blockSize);
}

}  // namespace kelvara::morvik
