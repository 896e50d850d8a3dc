// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "installer_model.h"
#include "loopback_http_server.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace kelvara::testing {

// A model on the real worker, in a redirected home, whose runtime comes from a loopback
// server: by default a shell runtime and an install script that succeeds at once.
class InstallerFixture : public ::testing::Test {
protected:
    InstallerFixture();

    // The install script, run by the shell runtime with: install.py --events --root ROOT.
    void script(const QByteArray& body);
    // A download that sends its first bytes and then nothing, so the run stays in step 1.
    void stallDownload();
    // Runs the event loop until the installation has ended.
    bool waitForEnd();
    // Runs the event loop until the stalled download of step 1 is under way.
    bool waitForDownload();

    TestHome home;
    LoopbackHttpServer server;
    QTemporaryDir assets;
    morvik::InstallerModel model;
};

}  // namespace kelvara::testing
