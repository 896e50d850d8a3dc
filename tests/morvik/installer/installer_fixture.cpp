// SPDX-License-Identifier: GPL-3.0-or-later
#include "installer_fixture.h"

#include "shell_runtime.h"
#include "vocal/vocal_resources.h"
#include "wait_until.h"
#include "worker/install_worker.h"

#include <QFile>

namespace kelvara::testing {

namespace {

const QString runtimePath = QStringLiteral("/python.tar.gz");
const QString stalledPath = QStringLiteral("/stalled.tar.gz");

}  // namespace

InstallerFixture::InstallerFixture() : model(VocalResources::userFolder(), assets.path()) {
    const QByteArray archive = shellRuntimeArchive();
    server.serve(runtimePath, archive);
    describeRuntime(assets.path(), server.url(runtimePath), sha256Of(archive));
    script("exit 0\n");
    // Whatever this machine has free, the installation may go on.
    model.setWorkerSetup([](morvik::InstallWorker& worker) {
        worker.setFreeSpaceReader([](const QString&) { return std::optional(morvik::InstallWorker::requiredSpace); });
    });
}

void InstallerFixture::script(const QByteArray& body) {
    QFile file(assets.filePath(QStringLiteral("install.py")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(body);
}

void InstallerFixture::stallDownload() {
    server.stall(stalledPath, QByteArray(4'000'000, 'x'), 100'000);
    describeRuntime(assets.path(), server.url(stalledPath), sha256Of({}));
}

bool InstallerFixture::waitForEnd() {
    return waitUntil([this] { return !model.busy(); }, 20);
}

bool InstallerFixture::waitForDownload() {
    return waitUntil([this] { return server.requests(stalledPath) == 1 && model.stage() == 1; });
}

}  // namespace kelvara::testing
