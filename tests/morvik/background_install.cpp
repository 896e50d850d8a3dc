// SPDX-License-Identifier: GPL-3.0-or-later
#include "background_install.h"

namespace kelvara::morvik::testing {

BackgroundInstall::BackgroundInstall(InstallWorker& worker) : worker_(worker) {
    thread_.reset(QThread::create([this] {
        outcome_ = outcomeOf(worker_);
        finished_ = true;
    }));
    thread_->start();
}

BackgroundInstall::~BackgroundInstall() {
    worker_.cancel();
    thread_->wait();
}

}  // namespace kelvara::morvik::testing
