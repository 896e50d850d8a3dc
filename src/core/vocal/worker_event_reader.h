// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/line_splitter.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace kelvara {

// The separation worker's event stream: one JSON object per LF-ended line. `stage` goes to
// the progress callback at once; the last `result` and the last `error` are kept. Lines that
// are not objects, keys other than these and values that are not strings are ignored, and
// bytes after the last LF are never parsed. A line longer than lineLimit is dropped whole
// without being held, so a worker that never ends its line cannot grow memory.
class WorkerEventReader {
public:
    static constexpr qsizetype lineLimit = 1 << 20;

    explicit WorkerEventReader(std::function<void(const QString&)> progress);

    void feed(const QByteArray& bytes);

    const std::optional<QString>& result() const { return result_; }
    const std::optional<QString>& error() const { return error_; }

private:
    void apply(const QByteArray& line);

    std::function<void(const QString&)> progress_;
    LineSplitter lines_{lineLimit};
    std::optional<QString> result_;
    std::optional<QString> error_;
};

}  // namespace kelvara
