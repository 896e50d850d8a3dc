// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/atomic_file.h"

#include "storage/file_error.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace kelvara {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) { throw fileError(path, reason); }

void createFolder(const QString& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder.toStdString(), error);
    if (error) {
        fail(folder, QString::fromLocal8Bit(error.message()));
    }
}

// The rename is only durable once the folder entry itself reaches the disk.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void AtomicFile::write(const QString& path, const QByteArray& bytes) {
    const QString folder = QFileInfo(path).absolutePath();
    createFolder(folder);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(path, reason);
    }
    if (::fsync(file.handle()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::generic_category().message(errno));
        file.cancelWriting();
        fail(path, reason);
    }
    if (!file.commit()) {
        fail(path, file.errorString());
    }
    syncFolder(folder);
}

}  // namespace kelvara
