// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/line_splitter.h"

namespace kelvara {

void LineSplitter::feed(const QByteArray& bytes, const std::function<void(const QByteArray&)>& line) {
    qsizetype start = 0;
    for (qsizetype end = bytes.indexOf('\n'); end >= 0; start = end + 1, end = bytes.indexOf('\n', start)) {
        if (!skippingLongLine_ && pending_.size() + (end - start) <= limit_) {
            pending_.append(bytes.constData() + start, end - start);
            line(pending_);
        }
        pending_.clear();
        skippingLongLine_ = false;
    }
    if (skippingLongLine_) {
        return;
    }
    pending_.append(bytes.constData() + start, bytes.size() - start);
    if (pending_.size() > limit_) {
        pending_.clear();
        pending_.squeeze();
        skippingLongLine_ = true;
    }
}

}  // namespace kelvara
