// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cue_point.h"

#include "i18n/l.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvara {

namespace {

// The first `count` user-perceived characters, so no emoji or accent is cut in half.
QString firstCharacters(const QString& text, qsizetype count) {
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, text);
    qsizetype position = 0;
    for (qsizetype taken = 0; taken < count; ++taken) {
        position = boundaries.toNextBoundary();
        if (position < 0) {
            return text;
        }
    }
    return text.left(position);
}

std::optional<int> integerValue(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (number != std::trunc(number) || std::abs(number) > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::optional<QUuid> uuidValue(const QJsonValue& value) {
    const QString text = value.toString();
    if (!value.isString() || text.size() != 36) {
        return std::nullopt;
    }
    const QUuid uuid = QUuid::fromString(text);
    return uuid.isNull() ? std::nullopt : std::optional(uuid);
}

}  // namespace

CuePoint CuePoint::numbered(double seconds, double duration, qsizetype existing) {
    return CuePoint{
        .id = QUuid::createUuid(),
        .seconds = std::min(std::max(seconds, 0.0), duration),
        .label = L("Метка {0}", existing + 1),
        .color = static_cast<int>(existing % paletteSize),
    };
}

std::optional<QString> CuePoint::committedLabel(const QString& typed, const QString& stored) {
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty() || trimmed == stored) {
        return std::nullopt;
    }
    return firstCharacters(trimmed, maximumLabelLength);
}

QString CuePoint::idText() const { return id.toString(QUuid::WithoutBraces).toUpper(); }

QJsonObject CuePoint::toJson() const {
    return QJsonObject{{QStringLiteral("id"), idText()},
                       {QStringLiteral("seconds"), seconds},
                       {QStringLiteral("label"), label},
                       {QStringLiteral("color"), color}};
}

std::optional<CuePoint> CuePoint::fromJson(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const std::optional<QUuid> id = uuidValue(object.value(QStringLiteral("id")));
    const QJsonValue seconds = object.value(QStringLiteral("seconds"));
    const QJsonValue label = object.value(QStringLiteral("label"));
    const std::optional<int> color = integerValue(object.value(QStringLiteral("color")));
    if (!value.isObject() || !id || !seconds.isDouble() || !label.isString() || !color) {
        return std::nullopt;
    }
    return CuePoint{*id, seconds.toDouble(), label.toString(), *color};
}

}  // namespace kelvara
