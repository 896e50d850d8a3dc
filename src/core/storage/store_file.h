// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvara {

// The file behind a store. It is read once at start; once that load has failed the file is
// never written again by this object, so a damaged file stays on disk for the user.
class StoreFile {
public:
    explicit StoreFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool readable() const { return readable_; }

    // decode(bytes) of the file's content, or an empty T when there is no file. A read
    // failure or an exception from decode marks the file unreadable and is passed on.
    template <typename T, typename Decode>
    T load(Decode decode) {
        try {
            const std::optional<QByteArray> bytes = readIfPresent();
            return bytes ? decode(*bytes) : T{};
        } catch (...) {
            readable_ = false;
            throw;
        }
    }

    // Writes atomically; returns false without touching the disk when the load had failed.
    bool write(const QByteArray& bytes) const;

private:
    std::optional<QByteArray> readIfPresent() const;

    QString path_;
    bool readable_ = true;
};

}  // namespace kelvara
