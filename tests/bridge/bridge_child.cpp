// SPDX-License-Identifier: GPL-3.0-or-later
#include "bridge_child.h"

#include "launch_options.h"
#include "process_progress.h"

#include <gtest/gtest.h>

namespace kelvara::testing {

QStringList BridgeChild::defaultArguments() {
    return LaunchOptions::bridgeArguments(AppLanguage::current());
}

BridgeChild::BridgeChild(const QStringList& arguments) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(KELVARA_EXECUTABLE), arguments);
    EXPECT_TRUE(process_.waitForStarted());
}

BridgeChild::~BridgeChild() {
    closeInput();
}

QByteArray BridgeChild::exchange(const QByteArray& line) {
    process_.write(line + '\n');
    ProcessProgress(process_).untilLine();
    return process_.readLine().chopped(1);
}

MusicSnapshot BridgeChild::ask(const BridgeRequest& request) {
    return MusicSnapshot::fromJson(exchange(request.toJson()));
}

int BridgeChild::closeInput() {
    if (process_.state() != QProcess::NotRunning) {
        process_.closeWriteChannel();
        if (!ProcessProgress(process_).untilFinished()) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace kelvara::testing
