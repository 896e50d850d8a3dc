// SPDX-License-Identifier: GPL-3.0-or-later
// Installations through the model with the real worker: one at a time, and the error line of a failure.
#include "installer_fixture.h"
#include "vocal/vocal_resources.h"
#include "worker/install_worker.h"

#include <QDir>

namespace kelvara::testing {
namespace {

using InstallerRun = InstallerFixture;

TEST_F(InstallerRun, PressingInstallTwiceStartsOneInstallation) {
    stallDownload();
    model.start();
    model.start();
    ASSERT_TRUE(waitForDownload());
    EXPECT_EQ(model.stage(), 1);
    EXPECT_EQ(model.title(), QStringLiteral("Загрузка Python…"));
    model.cancel();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.requests(QStringLiteral("/stalled.tar.gz")), 1);
    const QStringList staging = QDir(VocalResources::userFolder()).entryList({QStringLiteral("python-*")}, QDir::Dirs);
    EXPECT_EQ(staging.size(), 1) << "one run, one staging folder";
}

TEST_F(InstallerRun, AFailureShowsTheScriptsOwnErrorElseTheWorkersAndANewStartClearsIt) {
    script(R"(echo '{"stage": 3, "title": "Компоненты"}'
echo '{"error": "pip не нашёл пакет"}'
exit 1
)");
    model.start();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(model.title(), QStringLiteral("Не удалось завершить установку"));
    EXPECT_EQ(model.detail(), QStringLiteral("Прежний рабочий модуль сохранён. Можно повторить установку."));
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("pip не нашёл пакет"));
    EXPECT_EQ(model.stage(), 3);

    script("exit 1\n");
    model.start();
    EXPECT_FALSE(model.error().has_value()) << "a new start clears the last error";
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(model.error().value_or(QString()),
              QStringLiteral("Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале."));

    model.setWorkerSetup([](morvik::InstallWorker& worker) {
        worker.setFreeSpaceReader([](const QString&) { return std::optional(morvik::InstallWorker::requiredSpace - 1); });
    });
    model.start();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(model.error().value_or(QString()), QStringLiteral("Нужно минимум 6 ГБ свободного места."));
}

}  // namespace
}  // namespace kelvara::testing
