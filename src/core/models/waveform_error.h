// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace kelvara {

// The one error of the analysis subsystem. Its text is already localized when it is made
// (construct it with L("…")), and what() returns that text unchanged.
class WaveformError : public std::runtime_error {
public:
    static WaveformError unavailable(const QString& text) { return WaveformError(text); }

    const QString& text() const { return text_; }

private:
    explicit WaveformError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}

    QString text_;
};

}  // namespace kelvara
