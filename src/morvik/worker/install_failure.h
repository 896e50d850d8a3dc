// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace kelvara::morvik {

// Why an installation stopped, in the words shown to the user: already localized when made
// (with L), or the platform's own description of a file, launch or network failure.
class InstallFailure : public std::exception {
public:
    explicit InstallFailure(QString message);

    // A failed operation on `path`, with the system's description after it.
    static InstallFailure about(const QString& path, const QString& reason);

    QString message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

}  // namespace kelvara::morvik
