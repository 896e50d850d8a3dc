// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/runtime_descriptor.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace kelvara {

std::optional<RuntimeDescriptor> RuntimeDescriptor::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject object = document.object();
    const bool onlyStrings =
        std::all_of(object.begin(), object.end(), [](const QJsonValue& value) { return value.isString(); });
    const QString python = object.value(QStringLiteral("python")).toString();
    if (!document.isObject() || !onlyStrings || !object.contains(QStringLiteral("models"))) {
        return std::nullopt;
    }
    const QFileInfo interpreter(python);
    if (!interpreter.isAbsolute() || !interpreter.isFile() || !interpreter.isExecutable()) {
        return std::nullopt;
    }
    return RuntimeDescriptor{python, object.value(QStringLiteral("models")).toString()};
}

}  // namespace kelvara
