// SPDX-License-Identifier: GPL-3.0-or-later
// Installations through the model with the real worker: one at a time, and how each ends.
#include "installer_fixture.h"
#include "vocal/vocal_resources.h"
#include "worker/install_worker.h"

#include <QDir>

namespace kelvara::testing {
namespace {

using InstallerRun = InstallerFixture;

QString keptModule() { return QStringLiteral("Прежний рабочий модуль сохранён. Можно повторить установку."); }

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

TEST_F(InstallerRun, CancelSaysStoppingAtOnceThenEndsCancelledWithoutAnErrorLine) {
    stallDownload();
    model.start();
    ASSERT_TRUE(waitForDownload());
    model.cancel();
    EXPECT_TRUE(model.busy());
    EXPECT_TRUE(model.stopping());
    EXPECT_EQ(model.detail(), QStringLiteral("Остановка…"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(model.title(), QStringLiteral("Установка отменена"));
    EXPECT_EQ(model.detail(), keptModule());
    EXPECT_FALSE(model.error().has_value());
    EXPECT_FALSE(model.stopping());
    EXPECT_FALSE(model.progress().has_value());
    EXPECT_FALSE(model.done());
}

TEST_F(InstallerRun, AFailureShowsTheScriptsOwnErrorElseTheWorkersAndANewStartClearsIt) {
    script(R"(echo '{"stage": 3, "title": "Компоненты"}'
echo '{"error": "pip не нашёл пакет"}'
exit 1
)");
    model.start();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(model.title(), QStringLiteral("Не удалось завершить установку"));
    EXPECT_EQ(model.detail(), keptModule());
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

TEST_F(InstallerRun, AWholeRunEndsAllDone) {
    script(R"(echo '{"stage": 2, "title": "Проверка"}'
echo '{"stage": 3, "title": "Компоненты"}'
echo '{"download": 5, "total": 10}'
echo '{"stage": 4, "title": "Проверка модуля"}'
)");
    model.start();
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(model.done());
    EXPECT_EQ(model.stage(), 5);
    EXPECT_EQ(model.title(), QStringLiteral("Всё готово"));
    EXPECT_EQ(model.detail(), QStringLiteral("Вернитесь в Kelvara и нажмите кнопку удаления вокала."));
    EXPECT_EQ(model.progress().value_or(0), 1.0);
    EXPECT_FALSE(model.error().has_value());
    EXPECT_TRUE(QFile::exists(model.logPath()));
}

}  // namespace
}  // namespace kelvara::testing
