// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/worker_event_reader.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kelvara {

WorkerEventReader::WorkerEventReader(std::function<void(const QString&)> progress)
    : progress_(std::move(progress)) {}

void WorkerEventReader::feed(const QByteArray& bytes) {
    qsizetype start = 0;
    for (qsizetype end = bytes.indexOf('\n'); end >= 0; start = end + 1, end = bytes.indexOf('\n', start)) {
        if (!skippingLongLine_ && pending_.size() + (end - start) <= lineLimit) {
            pending_.append(bytes.constData() + start, end - start);
            apply(pending_);
        }
        pending_.clear();
        skippingLongLine_ = false;
    }
    if (skippingLongLine_) {
        return;
    }
    pending_.append(bytes.constData() + start, bytes.size() - start);
    if (pending_.size() > lineLimit) {
        pending_.clear();
        pending_.squeeze();
        skippingLongLine_ = true;
    }
}

void WorkerEventReader::apply(const QByteArray& line) {
    const QJsonObject event = QJsonDocument::fromJson(line).object();
    const QJsonValue stage = event.value(QStringLiteral("stage"));
    const QJsonValue result = event.value(QStringLiteral("result"));
    const QJsonValue error = event.value(QStringLiteral("error"));
    if (stage.isString() && progress_) {
        progress_(stage.toString());
    }
    if (result.isString()) {
        result_ = result.toString();
    }
    if (error.isString()) {
        error_ = error.toString();
    }
}

}  // namespace kelvara
