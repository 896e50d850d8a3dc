// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/store_file.h"

#include "storage/atomic_file.h"
#include "storage/file_error.h"

#include <QFile>

namespace kelvara {

std::optional<QByteArray> StoreFile::readIfPresent() const {
    QFile file(path_);
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw fileError(path_, file.errorString());
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw fileError(path_, file.errorString());
    }
    return bytes;
}

bool StoreFile::write(const QByteArray& bytes) const {
    if (!readable_) {
        return false;
    }
    AtomicFile::write(path_, bytes);
    return true;
}

}  // namespace kelvara
