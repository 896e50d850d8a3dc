// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "install_run.h"
#include "loopback_http_server.h"
#include "shell_runtime.h"
#include "test_home.h"
#include "worker/install_worker.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kelvara::morvik::testing {

void writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);
using kelvara::testing::sha256Of;
// A gzip-compressed tar of `folder`'s entry `name`, made by tar.
QByteArray tarOf(const QString& folder, const QString& name);

// A redirected home whose vocal root the worker fills, a loopback server that serves the
// runtime archive, and an assets folder the test fills with PythonRuntime.json and scripts.
class InstallFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    // Serves the archive at `path` and describes it with its digest.
    void publishRuntime(const QByteArray& archive, const QString& path = QStringLiteral("/python.tar.gz"));
    void describeRuntime(const QString& path, const QString& sha256);

    std::unique_ptr<InstallWorker> makeWorker(InstallRun& run, qint64 freeSpace = InstallWorker::requiredSpace);
    // One whole install() on this thread.
    InstallOutcome install(qint64 freeSpace = InstallWorker::requiredSpace);

    QString root() const;
    QString log() const;
    QStringList stagingFolders() const;

    kelvara::testing::TestHome home;
    kelvara::testing::LoopbackHttpServer server;
    QTemporaryDir assets;
};

}  // namespace kelvara::morvik::testing
