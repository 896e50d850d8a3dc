// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>

namespace kelvara {

// Cuts a child program's output stream into lines ended by LF (the LF is dropped); bytes after
// the last LF wait for the next feed. A line longer than the limit is dropped whole without
// being held, so a writer that never ends its line cannot grow memory, and the lines after it
// are cut as usual.
class LineSplitter {
public:
    explicit LineSplitter(qsizetype limit) : limit_(limit) {}

    void feed(const QByteArray& bytes, const std::function<void(const QByteArray&)>& line);

private:
    qsizetype limit_;
    QByteArray pending_;
    bool skippingLongLine_ = false;
};

}  // namespace kelvara
