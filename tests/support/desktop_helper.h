// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelvara::testing {

// A desktop program (window manager, compositor) started for a test and stopped by its PID
// at the end. One that cannot run (another one already owns the screen) is fine.
class DesktopHelper {
public:
    explicit DesktopHelper(const QString& program, const QStringList& arguments = {});
    ~DesktopHelper();
    DesktopHelper(const DesktopHelper&) = delete;
    DesktopHelper& operator=(const DesktopHelper&) = delete;

private:
    QProcess process_;
};

}  // namespace kelvara::testing
