// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/worker_event_reader.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kelvara {

WorkerEventReader::WorkerEventReader(std::function<void(const QString&)> progress)
    : progress_(std::move(progress)) {}

void WorkerEventReader::feed(const QByteArray& bytes) {
    lines_.feed(bytes, [this](const QByteArray& line) { apply(line); });
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
