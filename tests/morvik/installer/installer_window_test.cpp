// SPDX-License-Identifier: GPL-3.0-or-later
// The installer window offscreen, over a model on the real worker.
#include "installer_fixture.h"
#include "installer_window.h"
#include "wait_until.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kelvara::testing {
namespace {

class InstallerWindowTest : public InstallerFixture {
protected:
    void SetUp() override { window.show(); }

    // What the window shows, as its visible texts from the top: the header's two lines first.
    QStringList shownTexts() const {
        QStringList texts;
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                texts.append(label->text());
            }
        }
        return texts;
    }

    QStringList shownButtons() const {
        QStringList buttons;
        for (const QPushButton* button : window.findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                buttons.append(button->text());
            }
        }
        return buttons;
    }

    QPushButton* button(const QString& text) const {
        for (QPushButton* candidate : window.findChildren<QPushButton*>()) {
            if (candidate->text() == text) {
                return candidate;
            }
        }
        return nullptr;
    }

    QProgressBar& bar() const { return *window.findChild<QProgressBar*>(); }

    // The header's symbol, as drawn.
    QImage symbol() const {
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                return label->pixmap().toImage();
            }
        }
        return {};
    }

    morvik::InstallerWindow window{model};
};

const QString note = QStringLiteral("Нужны интернет и 6 ГБ свободного места. Python установится автоматически только для Kelvara.");

TEST_F(InstallerWindowTest, IdleOffersTheInstallationWithItsConditions) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvara · Вокальный модуль"));
    EXPECT_TRUE(shownTexts().contains(note));
    EXPECT_EQ(shownButtons(), QStringList{QStringLiteral("Установить")}) << "no log before a run";
    EXPECT_FALSE(bar().isVisible());
    EXPECT_EQ(window.width(), 450 + 2 * 20);
}

TEST_F(InstallerWindowTest, DownloadAmountsAndScriptStepsShowAsTheyCome) {
    stallDownload();
    button(QStringLiteral("Установить"))->click();
    ASSERT_TRUE(waitForDownload());
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("1/5")));
    EXPECT_FALSE(shownTexts().contains(note));
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("Журнал"), QStringLiteral("Отмена")}));

    model.receive({{QStringLiteral("download"), qint64(1'000'000)}, {QStringLiteral("total"), qint64(4'000'000)}});
    EXPECT_EQ(bar().value() * 4, bar().maximum()) << "a download of known size shows how far it is";
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("1,0 МБ / 4,0 МБ")));

    model.receive({{QStringLiteral("download"), qint64(1'500'000)}, {QStringLiteral("total"), qint64(0)}});
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("1,5 МБ"))) << shownTexts().join(u'|').toStdString();
    EXPECT_EQ(bar().maximum(), 0) << "without a total the bar shows activity only";
    EXPECT_TRUE(bar().isVisible());

    const QString longDownload = QStringLiteral("Скачиваем и устанавливаем компоненты. Это может занять несколько минут.");
    model.receive({{QStringLiteral("stage"), 3}, {QStringLiteral("title"), QStringLiteral("Компоненты")}});
    EXPECT_TRUE(shownTexts().contains(longDownload));
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("3/5")));
    model.receive({{QStringLiteral("detail"), QStringLiteral("scipy")}});
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("scipy")));
    EXPECT_FALSE(shownTexts().contains(longDownload));
}

TEST_F(InstallerWindowTest, CancelIsDisabledWhileStoppingAndTheEndOffersAnotherTry) {
    stallDownload();
    button(QStringLiteral("Установить"))->click();
    ASSERT_TRUE(waitForDownload());
    button(QStringLiteral("Отмена"))->click();
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("Остановка…")));
    EXPECT_FALSE(button(QStringLiteral("Отмена"))->isEnabled());
    EXPECT_TRUE(model.busy()) << "the run has not ended yet";
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(shownTexts().mid(2), (QStringList{QStringLiteral("Установка отменена"),
                                                QStringLiteral("Прежний рабочий модуль сохранён. Можно повторить установку."), note}))
        << "no error line after a cancel";
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("Журнал"), QStringLiteral("Установить")}));
    EXPECT_FALSE(bar().isVisible());
}

TEST_F(InstallerWindowTest, ClosingDuringAnInstallationCancelsItAndClosesWhenItHasEnded) {
    stallDownload();
    model.start();
    ASSERT_TRUE(waitForDownload());
    EXPECT_FALSE(window.close()) << "the window stays while the run stops";
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(model.stopping());
    ASSERT_TRUE(waitUntil([&] { return !window.isVisible(); }));
    EXPECT_FALSE(model.busy());
    EXPECT_EQ(model.title(), QStringLiteral("Установка отменена"));
}

TEST_F(InstallerWindowTest, AWholeRunEndsAllDoneAndOffersOnlyToCloseWithTheLog) {
    script(R"(echo '{"stage": 2, "title": "Проверка"}'
echo '{"stage": 3, "title": "Компоненты"}'
echo '{"download": 5, "total": 10}'
)");
    const QImage microphone = symbol();
    button(QStringLiteral("Установить"))->click();
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(model.done());
    EXPECT_EQ(model.stage(), 5);
    EXPECT_EQ(model.progress().value_or(0), 1.0);
    EXPECT_FALSE(microphone.isNull());
    EXPECT_FALSE(symbol().isNull());
    EXPECT_NE(symbol(), microphone) << "a check mark once done";
    EXPECT_EQ(shownTexts().mid(2), (QStringList{QStringLiteral("Всё готово"),
                                                QStringLiteral("Вернитесь в Kelvara и нажмите кнопку удаления вокала.")}));
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("Журнал"), QStringLiteral("Готово")}));
    button(QStringLiteral("Готово"))->click();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace kelvara::testing
