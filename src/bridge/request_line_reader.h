// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

namespace kelvara {

// Splits what arrives on a file descriptor into lines (the line feed removed). A final
// line without a line feed still counts. A line longer than the limit is not kept in
// memory: the reader skips to its end and reports it as too long.
class RequestLineReader {
public:
    struct Line {
        QByteArray bytes;  // empty when the line was too long
        bool tooLong = false;
    };

    static constexpr qsizetype defaultLimit = 16 * 1024 * 1024;

    explicit RequestLineReader(int fd, qsizetype limit = defaultLimit) : fd_(fd), limit_(limit) {}

    // The next line; none at end of input.
    std::optional<Line> next();

private:
    bool readMore();

    int fd_;
    qsizetype limit_;
    QByteArray buffer_;
    qsizetype start_ = 0;     // where the unread part of buffer_ begins
    qsizetype scanned_ = 0;   // how far buffer_ is known to hold no line feed
    bool skipping_ = false;   // inside a line that is already too long
    bool ended_ = false;
};

}  // namespace kelvara
