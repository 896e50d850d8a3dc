// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace kelvara {

// Writes one compact JSON object with its keys in the order they are added, so a record
// reads on the wire in the order of its fields. Numbers are written locale-independently
// as the shortest text that reads back as the same double.
class JsonObjectWriter {
public:
    JsonObjectWriter& add(const char* key, bool value);
    JsonObjectWriter& add(const char* key, const QString& value);
    JsonObjectWriter& add(const char* key, qint64 value);
    // Throws WaveformError for NaN and infinities, which JSON cannot hold.
    JsonObjectWriter& add(const char* key, double value);

    QByteArray finish();

private:
    void beginMember(const char* key);

    QByteArray json_ = QByteArrayLiteral("{");
};

}  // namespace kelvara
