// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "worker/install_worker.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <mutex>

namespace kelvara::morvik::testing {

enum class Ending { Installed, Failed, Cancelled };

// How one install() ended and the records it sent.
struct InstallOutcome {
    Ending ending = Ending::Installed;
    QString failure;
    QList<QVariantMap> records;
};

// One install(), whose records and ending are gathered from whichever thread.
class InstallRun {
public:

    InstallWorker::Update recorder();
    // Runs worker.install() on this thread and notes how it ended.
    void install(InstallWorker& worker);

    InstallOutcome outcome() const;
    QList<QVariantMap> records() const;
    bool finished() const;

private:
    mutable std::mutex lock_;
    QList<QVariantMap> records_;
    bool finished_ = false;
    Ending ending_ = Ending::Installed;
    QString failure_;
};

}  // namespace kelvara::morvik::testing
