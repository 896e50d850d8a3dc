// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/json_object_writer.h"

#include "i18n/l.h"
#include "models/waveform_error.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kelvara {

namespace {

void appendEscaped(QByteArray& json, const QByteArray& utf8) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    json.append('"');
    for (const char byte : utf8) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '"' || byte == '\\') {
            json.append('\\').append(byte);
        } else if (code < 0x20) {
            json.append("\\u00").append(hexDigits[code >> 4]).append(hexDigits[code & 0xF]);
        } else {
            json.append(byte);
        }
    }
    json.append('"');
}

}  // namespace

void JsonObjectWriter::beginMember(const char* key) {
    if (json_.size() > 1) {
        json_.append(',');
    }
    appendEscaped(json_, QByteArray(key));
    json_.append(':');
}

JsonObjectWriter& JsonObjectWriter::add(const char* key, bool value) {
    beginMember(key);
    json_.append(value ? "true" : "false");
    return *this;
}

JsonObjectWriter& JsonObjectWriter::add(const char* key, const QString& value) {
    beginMember(key);
    appendEscaped(json_, value.toUtf8());
    return *this;
}

JsonObjectWriter& JsonObjectWriter::add(const char* key, qint64 value) {
    beginMember(key);
    json_.append(QByteArray::number(value));
    return *this;
}

JsonObjectWriter& JsonObjectWriter::add(const char* key, double value) {
    if (!std::isfinite(value)) {
        throw WaveformError::unavailable(L("Поле «{0}» не является конечным числом", key));
    }
    beginMember(key);
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    json_.append(text.data(), result.ptr - text.data());
    return *this;
}

QByteArray JsonObjectWriter::finish() {
    json_.append('}');
    return std::move(json_);
}

}  // namespace kelvara
