// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_helper.h"

#include "parent_death.h"

namespace kelvara::testing {

DesktopHelper::DesktopHelper(const QString& program, const QStringList& arguments) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithTestProcess(process_);
    process_.start(program, arguments);
    process_.waitForStarted();
}

DesktopHelper::~DesktopHelper() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        process_.waitForFinished(2000);
    }
}

}  // namespace kelvara::testing
