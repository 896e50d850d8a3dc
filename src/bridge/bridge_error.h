// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace kelvara {

// A failure inside the bridge child, answered on the pipe as `errorCode` and `error`.
// The text is already localized.
class BridgeError : public std::exception {
public:
    static constexpr qint64 unknown = -1;               // the player gave no number
    static constexpr qint64 invalidCommand = 0;         // WaveformError has no number of its own
    static constexpr qint64 unreadableRequest = 4864;   // the request line is not a BridgeRequest
    static constexpr qint64 timedOut = -1712;           // the player did not answer in time
    static constexpr qint64 automationDenied = -1743;   // the user refused control of the player
    static constexpr qint64 trackChanged = -10001;      // the current track is not the one meant
    static constexpr qint64 playerUnavailable = -10002; // no player, or no current track

    BridgeError(qint64 code, QString text) : code_(code), text_(std::move(text)), utf8_(text_.toStdString()) {}

    qint64 code() const { return code_; }
    const QString& text() const { return text_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    qint64 code_;
    QString text_;
    std::string utf8_;
};

}  // namespace kelvara
