// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "install_fixture.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace kelvara::morvik::testing {

// worker.install() on a QThread of its own, as the installer runs it; a test that ends early
// cancels it and waits for it.
class BackgroundInstall {
public:
    explicit BackgroundInstall(InstallWorker& worker);
    ~BackgroundInstall();
    BackgroundInstall(const BackgroundInstall&) = delete;
    BackgroundInstall& operator=(const BackgroundInstall&) = delete;

    bool finished() const { return finished_; }
    // How it ended, once finished.
    const InstallOutcome& outcome() const { return outcome_; }

private:
    InstallWorker& worker_;
    InstallOutcome outcome_;
    std::atomic<bool> finished_ = false;
    std::unique_ptr<QThread> thread_;
};

}  // namespace kelvara::morvik::testing
