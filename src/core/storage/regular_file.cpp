// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/regular_file.h"

#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

// The descriptor of a regular file opened for reading, or -1 (errno set).
int openRegular(const QString& path) {
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        return -1;
    }
    struct stat status = {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        errno = EINVAL;
        return -1;
    }
    // Only regular files are left, for which the flag changes nothing; reads stay plain.
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    return handle;
}

}  // namespace

RegularFile::RegularFile(const QString& path) : handle_(openRegular(path)) {
    if (handle_ < 0) {
        qCDebug(storageLog) << "not a readable regular file:" << path << std::strerror(errno);
        throw WaveformError::unavailable(
            L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную."));
    }
}

RegularFile::~RegularFile() { ::close(handle_); }

std::int64_t RegularFile::size() const {
    struct stat status = {};
    return ::fstat(handle_, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : 0;
}

bool RegularFile::open(QFile& file) {
    const int handle = openRegular(file.fileName());
    if (handle < 0) {
        return false;
    }
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return false;
    }
    return true;
}

bool RegularFile::isRegular(const QString& path) {
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace kelvara
