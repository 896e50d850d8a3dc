// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
#include <mutex>

namespace kelvara::morvik::testing {

enum class Ending { Installed, Failed, Cancelled };

// How one install() ended, and the records it sent.
struct InstallOutcome {
    Ending ending = Ending::Installed;
    QString failure;
    QList<QVariantMap> records;
};

void writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);
using kelvara::testing::sha256Of;
// A gzip-compressed tar of `folder`'s entry `name`, made by tar.
QByteArray tarOf(const QString& folder, const QString& name);
// worker.install() on this thread: how it ended (without the records).
InstallOutcome outcomeOf(InstallWorker& worker);

// A redirected home whose vocal root the worker fills, a loopback server that serves the
// runtime archive, and an assets folder the test fills with PythonRuntime.json and scripts.
class InstallFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    // Serves the archive at `path` and describes it with its digest.
    void publishRuntime(const QByteArray& archive, const QString& path = QStringLiteral("/python.tar.gz"));
    void describeRuntime(const QString& path, const QString& sha256);

    // A worker whose records, from whichever thread, records() gives.
    std::unique_ptr<InstallWorker> makeWorker(qint64 freeSpace = InstallWorker::requiredSpace);
    QList<QVariantMap> records() const;
    // One whole installation on this thread, with its records only.
    InstallOutcome install(qint64 freeSpace = InstallWorker::requiredSpace);

    QString root() const;
    QString log() const;
    QStringList stagingFolders() const;

    kelvara::testing::TestHome home;
    kelvara::testing::LoopbackHttpServer server;
    QTemporaryDir assets;

private:
    mutable std::mutex recordsLock_;
    QList<QVariantMap> records_;
};

}  // namespace kelvara::morvik::testing
