// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace kelvara {

// Reads the fields of one JSON record. Every failure throws WaveformError with a localized
// text that names the problem: text that is not JSON, or a required field that is missing
// or of the wrong type. A document that is not an object has no fields at all.
class JsonRecordReader {
public:
    explicit JsonRecordReader(QByteArrayView json);

    bool boolean(const char* key) const;
    QString text(const char* key) const;
    double number(const char* key) const;
    // Absent when the key is missing or null.
    std::optional<QString> optionalText(const char* key) const;
    std::optional<qint64> optionalInteger(const char* key) const;

private:
    // The value under `key` when it has the type `isType` tests for; throws otherwise.
    QJsonValue field(const char* key, bool (QJsonValue::*isType)() const) const;
    [[noreturn]] static void wrongField(const char* key);

    QJsonObject object_;
};

}  // namespace kelvara
