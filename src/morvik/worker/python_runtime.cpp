// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/python_runtime.h"

#include "i18n/l.h"
#include "worker/install_failure.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace kelvara::morvik {

PythonRuntime PythonRuntime::read(const QString& assets) {
    const QString path = assets + QStringLiteral("/PythonRuntime.json");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InstallFailure::about(path, file.errorString());
    }
    QJsonParseError parsing{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parsing);
    if (parsing.error != QJsonParseError::NoError) {
        throw InstallFailure::about(path, parsing.errorString());
    }
    const QJsonValue url = document.object().value(QStringLiteral("url"));
    const QJsonValue sha256 = document.object().value(QStringLiteral("sha256"));
    if (!url.isString() || !sha256.isString() || !QUrl(url.toString()).isValid()) {
        throw InstallFailure::about(path, L("Некорректное описание загрузки Python"));
    }
    return {QUrl(url.toString()), sha256.toString()};
}

}  // namespace kelvara::morvik
