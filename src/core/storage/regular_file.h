// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <cstdint>

namespace kelvara {

// A file opened for reading only when it is a regular file. A FIFO blocks open() until a
// writer comes, which no cancellation can interrupt, and a device or socket may block reads
// for ever: the open does not block, and anything but a regular file is closed again.
class RegularFile {
public:
    // Throws WaveformError "file unavailable" when the file cannot be opened or is not a
    // regular file.
    explicit RegularFile(const QString& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    int handle() const { return handle_; }
    std::int64_t size() const;

    // Opens `file` (named by its fileName()) for reading the same way; false for anything
    // but a readable regular file, and `file` is then left closed.
    static bool open(QFile& file);

    // Whether `path` names a regular file now (links followed), without opening it.
    static bool isRegular(const QString& path);

private:
    int handle_ = -1;
};

}  // namespace kelvara
