// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/archive_digest.h"

#include "worker/install_failure.h"

#include <QCryptographicHash>
#include <QFile>

namespace kelvara::morvik {

QString archiveDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InstallFailure::about(path, file.errorString());
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (uchar* mapped = file.map(0, file.size())) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(mapped), file.size()));
        file.unmap(mapped);
    } else if (!hash.addData(&file)) {
        throw InstallFailure::about(path, file.errorString());
    }
    return QString::fromLatin1(hash.result().toHex());
}

}  // namespace kelvara::morvik
