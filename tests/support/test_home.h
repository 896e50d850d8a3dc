// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kelvara::testing {

// Points HOME and the XDG folders at a fresh temporary folder for the life of the object,
// so tests never touch the user's settings, caches or stores.
class TestHome {
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return dir_.path(); }
    QString dataHome() const { return path() + QStringLiteral("/data"); }
    QString cacheHome() const { return path() + QStringLiteral("/cache"); }
    QString configHome() const { return path() + QStringLiteral("/config"); }

private:
    QTemporaryDir dir_;
    QByteArray savedHome_, savedData_, savedCache_, savedConfig_;
};

}  // namespace kelvara::testing
