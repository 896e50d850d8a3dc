// SPDX-License-Identifier: GPL-3.0-or-later
#include "install_run.h"

#include "models/cancellation.h"
#include "worker/install_failure.h"

namespace kelvara::morvik::testing {

InstallWorker::Update InstallRun::recorder() {
    return [this](const QVariantMap& record) {
        const std::lock_guard guard(lock_);
        records_ << record;
    };
}

void InstallRun::install(InstallWorker& worker) {
    Ending ending = Ending::Installed;
    QString failure;
    try {
        worker.install();
    } catch (const CancellationError&) {
        ending = Ending::Cancelled;
    } catch (const InstallFailure& error) {
        ending = Ending::Failed;
        failure = error.message();
    }
    const std::lock_guard guard(lock_);
    ending_ = ending;
    failure_ = failure;
    finished_ = true;
}

InstallOutcome InstallRun::outcome() const {
    const std::lock_guard guard(lock_);
    return {ending_, failure_, records_};
}

QList<QVariantMap> InstallRun::records() const {
    const std::lock_guard guard(lock_);
    return records_;
}

bool InstallRun::finished() const {
    const std::lock_guard guard(lock_);
    return finished_;
}

}  // namespace kelvara::morvik::testing
