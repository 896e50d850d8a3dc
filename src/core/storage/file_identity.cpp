// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_identity.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

namespace kelvara {

namespace {

double seconds(const struct statx_timestamp& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool has(const struct statx& status, unsigned field) { return (status.stx_mask & field) != 0; }

}  // namespace

QString FileIdentity::resolvedPath(const QString& path) {
    if (path.isEmpty()) {
        throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory));
    }
    // Standardised first ("." and ".." dropped by their text), then every link followed.
    const QString standardised = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    std::error_code error;
    const auto resolved = std::filesystem::canonical(nativePath(standardised), error);
    if (error) {
        throw std::system_error(error, nativePath(path));
    }
    return QFile::decodeName(QByteArray::fromStdString(resolved.string()));
}

FileIdentity FileIdentity::of(const QString& path) {
    FileIdentity identity;
    identity.path = resolvedPath(path);
    struct statx status = {};
    const std::string native = nativePath(identity.path);
    if (::statx(AT_FDCWD, native.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &status) != 0) {
        throw std::system_error(errno, std::system_category(), native);
    }
    identity.size = has(status, STATX_SIZE) ? status.stx_size : 0;
    identity.modified = has(status, STATX_MTIME) ? seconds(status.stx_mtime) : 0;
    identity.created = has(status, STATX_BTIME) ? seconds(status.stx_btime) : 0;
    identity.inode = has(status, STATX_INO) ? status.stx_ino : 0;
    return identity;
}

QString FileIdentity::key() const {
    const QByteArray json = QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(QCryptographicHash::hash(json, QCryptographicHash::Sha256).toHex());
}

// The unsigned fields go in as their 64-bit pattern, so they come back out exactly.
QJsonObject FileIdentity::toJson() const {
    return {{QStringLiteral("path"), path},
            {QStringLiteral("size"), static_cast<qint64>(size)},
            {QStringLiteral("modified"), modified},
            {QStringLiteral("created"), created},
            {QStringLiteral("inode"), static_cast<qint64>(inode)},
            {QStringLiteral("schema"), static_cast<qint64>(schema)}};
}

std::optional<FileIdentity> FileIdentity::fromJson(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const QJsonValue path = object.value(QStringLiteral("path"));
    const QJsonValue size = object.value(QStringLiteral("size"));
    const QJsonValue modified = object.value(QStringLiteral("modified"));
    const QJsonValue created = object.value(QStringLiteral("created"));
    const QJsonValue inode = object.value(QStringLiteral("inode"));
    const QJsonValue schema = object.value(QStringLiteral("schema"));
    if (!path.isString() || !size.isDouble() || !modified.isDouble() || !created.isDouble() || !inode.isDouble() ||
        !schema.isDouble()) {
        return std::nullopt;
    }
    return FileIdentity{path.toString(),
                        static_cast<std::uint64_t>(size.toInteger()),
                        modified.toDouble(),
                        created.toDouble(),
                        static_cast<std::uint64_t>(inode.toInteger()),
                        schema.toInteger()};
}

}  // namespace kelvara
