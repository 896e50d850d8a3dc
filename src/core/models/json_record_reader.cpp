// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/json_record_reader.h"

#include "i18n/l.h"
#include "models/waveform_error.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace kelvara {

JsonRecordReader::JsonRecordReader(QByteArrayView json) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        throw WaveformError::unavailable(L("Некорректный JSON: {0}", parseError.errorString()));
    }
    object_ = document.object();
}

void JsonRecordReader::wrongField(const char* key) {
    throw WaveformError::unavailable(L("Поле «{0}» отсутствует или имеет неверный тип", key));
}

QJsonValue JsonRecordReader::field(const char* key, bool (QJsonValue::*isType)() const) const {
    QJsonValue value = object_.value(QLatin1String(key));
    if (!(value.*isType)()) {
        wrongField(key);
    }
    return value;
}

bool JsonRecordReader::boolean(const char* key) const {
    return field(key, &QJsonValue::isBool).toBool();
}

QString JsonRecordReader::text(const char* key) const {
    return field(key, &QJsonValue::isString).toString();
}

double JsonRecordReader::number(const char* key) const {
    return field(key, &QJsonValue::isDouble).toDouble();
}

std::optional<QString> JsonRecordReader::optionalText(const char* key) const {
    const QJsonValue value = object_.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    return field(key, &QJsonValue::isString).toString();
}

std::optional<qint64> JsonRecordReader::optionalInteger(const char* key) const {
    const QJsonValue value = object_.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    // toInteger() gives 0 for fractions and for numbers beyond 64 bits, which the
    // comparison then rejects.
    const qint64 integer = value.toInteger();
    if (!value.isDouble() || static_cast<double>(integer) != value.toDouble()) {
        wrongField(key);
    }
    return integer;
}

}  // namespace kelvara
