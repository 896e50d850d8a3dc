// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/localization.h"

#include <QString>

#include <concepts>
#include <string>
#include <string_view>

namespace kelvara {

namespace detail {
inline QString argumentText(const QString& value) { return value; }
inline QString argumentText(const char* value) { return QString::fromUtf8(value); }
inline QString argumentText(const std::string& value) { return QString::fromStdString(value); }
inline QString argumentText(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}
template <std::integral T>
QString argumentText(T value) { return QString::number(value); }
}  // namespace detail

// The text for the language of the run. `russian` is the key exactly as written in Russian;
// the arguments fill {0}, {1} … (texts or integers; format other numbers before passing them).
template <typename... Args>
QString L(const char* russian, const Args&... args) {
    return Localization::text(QString::fromUtf8(russian), QStringList{detail::argumentText(args)...});
}

}  // namespace kelvara
