// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <optional>

namespace kelvara {

// Exactly which file, in which version, was analysed. Any change of path, size, either date
// or file number gives a new key, so an edited, replaced or moved file never meets an old
// analysis; raising `schema` retires every old cache file at once.
struct FileIdentity {
    static constexpr std::int64_t currentSchema = 3;

    QString path;            // standardised, symbolic links resolved
    std::uint64_t size = 0;  // bytes
    double modified = 0;     // seconds since 1970 UTC; 0 when unknown
    double created = 0;      // birth time, seconds since 1970 UTC; 0 when the file system has none
    std::uint64_t inode = 0;
    std::int64_t schema = currentSchema;

    bool operator==(const FileIdentity&) const = default;

    // Throws std::system_error with the system's message when the file cannot be reached.
    static FileIdentity of(const QString& path);

    // The path standardised and with its symbolic links resolved, as `path` holds it.
    // Throws std::system_error when a part of it does not exist.
    static QString resolvedPath(const QString& path);

    // 64 lower-case hexadecimal digits: SHA-256 of the compact JSON form, whose keys are
    // sorted ("created", "inode", "modified", "path", "schema", "size").
    QString key() const;

    QJsonObject toJson() const;
    // None unless all six keys are present with values of the right type.
    static std::optional<FileIdentity> fromJson(const QJsonValue& value);
};

}  // namespace kelvara
