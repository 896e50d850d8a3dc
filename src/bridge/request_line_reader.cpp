// SPDX-License-Identifier: GPL-3.0-or-later
#include "request_line_reader.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace kelvara {

namespace {
constexpr qsizetype chunkSize = 64 * 1024;
}

bool RequestLineReader::readMore() {
    // Drop what was consumed before growing the buffer.
    buffer_.remove(0, start_);
    scanned_ -= start_;
    start_ = 0;
    const qsizetype used = buffer_.size();
    buffer_.resize(used + chunkSize);
    ssize_t count = 0;
    do {
        count = ::read(fd_, buffer_.data() + used, chunkSize);
    } while (count < 0 && errno == EINTR);
    buffer_.resize(used + std::max<qsizetype>(count, 0));
    return count > 0;
}

std::optional<RequestLineReader::Line> RequestLineReader::next() {
    while (true) {
        const qsizetype end = buffer_.indexOf('\n', scanned_);
        if (end >= 0) {
            Line line{skipping_ ? QByteArray() : buffer_.sliced(start_, end - start_), skipping_};
            start_ = scanned_ = end + 1;
            skipping_ = false;
            return line;
        }
        scanned_ = buffer_.size();
        if (scanned_ - start_ > limit_) {
            skipping_ = true;
            start_ = scanned_;
        }
        if (ended_ || !readMore()) {
            ended_ = true;
            if (start_ == buffer_.size() && !skipping_) {
                return std::nullopt;
            }
            Line line{skipping_ ? QByteArray() : buffer_.sliced(start_), skipping_};
            start_ = scanned_ = buffer_.size();
            skipping_ = false;
            return line;
        }
    }
}

}  // namespace kelvara
