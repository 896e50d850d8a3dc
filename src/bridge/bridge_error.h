// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/link_error_code.h"

#include <QString>

#include <exception>
#include <string>

namespace kelvara {

// A failure inside the bridge child, answered on the pipe as `errorCode` and `error`.
// The text is already localized. The code is the player's own number where it gave one.
class BridgeError : public std::exception {
public:
    BridgeError(qint64 code, QString text) : code_(code), text_(std::move(text)), utf8_(text_.toStdString()) {}
    BridgeError(LinkErrorCode code, QString text) : BridgeError(number(code), std::move(text)) {}

    qint64 code() const { return code_; }
    bool is(LinkErrorCode code) const { return code_ == number(code); }
    const QString& text() const { return text_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    qint64 code_;
    QString text_;
    std::string utf8_;
};

}  // namespace kelvara
