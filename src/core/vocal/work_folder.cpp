// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/work_folder.h"

#include "storage/file_error.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

// A descriptor of the folder with an exclusive lock on it, or -1 when another holds it.
int lockFolder(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return -1;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

}  // namespace

WorkFolder::WorkFolder(const QString& parent)
    : path_(parent + QLatin1Char('/') + QLatin1String(prefix) +
            QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()) {
    if (::mkdir(QFile::encodeName(path_).constData(), 0700) != 0) {
        throw fileError(path_, QString::fromLocal8Bit(std::strerror(errno)));
    }
    lock_ = lockFolder(path_);
    if (lock_ < 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QDir(path_).removeRecursively();
        throw fileError(path_, reason);
    }
}

WorkFolder::~WorkFolder() {
    QDir(path_).removeRecursively();
    ::close(lock_);
}

void WorkFolder::removeAbandoned(const QString& parent) {
    const QStringList names = QDir(parent).entryList({QLatin1String(prefix) + QLatin1Char('*')},
                                                     QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString path = parent + QLatin1Char('/') + name;
        const int lock = lockFolder(path);
        if (lock >= 0) {
            QDir(path).removeRecursively();
            ::close(lock);
        }
    }
}

}  // namespace kelvara
