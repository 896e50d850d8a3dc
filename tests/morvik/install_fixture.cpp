// SPDX-License-Identifier: GPL-3.0-or-later
#include "install_fixture.h"

#include "audio_files.h"
#include "models/cancellation.h"
#include "worker/install_failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace kelvara::morvik::testing {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray tarOf(const QString& folder, const QString& name) {
    const QString archive = folder + QStringLiteral("/archive.tar.gz");
    kelvara::testing::AudioFiles::run(QStringLiteral("tar"), {QStringLiteral("-czf"), archive, QStringLiteral("-C"), folder, name});
    return readFile(archive);
}

void InstallFixture::SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "morvik_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void InstallFixture::publishRuntime(const QByteArray& archive, const QString& path) {
    server.serve(path, archive);
    describeRuntime(path, sha256Of(archive));
}

void InstallFixture::describeRuntime(const QString& path, const QString& sha256) {
    kelvara::testing::describeRuntime(assets.path(), server.url(path), sha256);
}

std::unique_ptr<InstallWorker> InstallFixture::makeWorker(qint64 freeSpace) {
    auto worker = std::make_unique<InstallWorker>(root(), assets.path(), [this](const QVariantMap& record) {
        const std::lock_guard guard(recordsLock_);
        records_ << record;
    });
    worker->setFreeSpaceReader([freeSpace](const QString&) { return std::optional<qint64>(freeSpace); });
    return worker;
}

QList<QVariantMap> InstallFixture::records() const {
    const std::lock_guard guard(recordsLock_);
    return records_;
}

InstallOutcome outcomeOf(InstallWorker& worker) {
    try {
        worker.install();
        return {};
    } catch (const CancellationError&) {
        return {Ending::Cancelled, {}, {}};
    } catch (const InstallFailure& error) {
        return {Ending::Failed, error.message(), {}};
    }
}

InstallOutcome InstallFixture::install(qint64 freeSpace) {
    {
        const std::lock_guard guard(recordsLock_);
        records_.clear();
    }
    InstallOutcome outcome = outcomeOf(*makeWorker(freeSpace));
    outcome.records = records();
    return outcome;
}

QString InstallFixture::root() const { return home.dataHome() + QStringLiteral("/Kelvara/Vocals"); }

QString InstallFixture::log() const { return root() + QStringLiteral("/installation.log"); }

QStringList InstallFixture::stagingFolders() const {
    return QDir(root()).entryList({QStringLiteral("python-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

}  // namespace kelvara::morvik::testing
