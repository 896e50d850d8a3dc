// SPDX-License-Identifier: GPL-3.0-or-later
// The language menu with its alerts answered by the test, the relaunch it starts, the
// window's way out, and Qt's own texts in the interface language.
#include "i18n/l.h"
#include "i18n/platform_texts.h"
#include "storage/settings.h"
#include "test_home.h"
#include "ui/content_view.h"
#include "ui/language_menu.h"
#include "ui/more_menu.h"
#include "ui_test_support.h"
#include "wait_until.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

// Answers the alerts that open, in order, with the buttons labelled `answers`; an alert
// beyond them is dismissed. Keeps each alert's texts.
class AlertAnswers : public QObject {
public:
    explicit AlertAnswers(QStringList answers) : answers_(std::move(answers)) {
        timer_.callOnTimeout(this, &AlertAnswers::answerOpenAlert);
        timer_.start(10);
    }

    QStringList texts;  // message and informative text of each alert, one line apart
    QList<QWidget*> parents;

private:
    void answerOpenAlert() {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!alert || !alert->isVisible()) {
            return;
        }
        texts.append(alert->text() + u'\n' + alert->informativeText());
        parents.append(alert->parentWidget());
        const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
        for (QAbstractButton* button : alert->buttons()) {
            if (button->text() == answer) {
                button->click();
                return;
            }
        }
        alert->reject();
    }

    QStringList answers_;
    QTimer timer_;
};

// German, or English when German is the running language.
AppLanguage anotherLanguage() {
    return AppLanguage::current() == AppLanguage::Case::German ? AppLanguage::Case::English : AppLanguage::Case::German;
}

class LanguageMenuTest : public ::testing::Test {
protected:
    // A relaunch that leaves a mark at once: the process it waits for has ended already.
    Relauncher markingRelauncher(const QString& shell = QStringLiteral("/bin/sh")) {
        QProcess ended;
        ended.start(QStringLiteral("true"));
        ended.waitForStarted();
        const qint64 pid = ended.processId();
        ended.waitForFinished();
        return Relauncher({pid, QStringLiteral("touch"), {mark}}, Relauncher::defaultPolls, shell);
    }

    QApplication& app = application();
    TestHome home;
    QTemporaryDir dir;
    QString mark = dir.filePath(QStringLiteral("relaunched"));
};

TEST_F(LanguageMenuTest, ALaterRelaunchWaitsInTheMenuUntilTheRunningLanguageIsChosenBack) {
    LanguageMenu menu(markingRelauncher());
    const AppLanguage chosen = anotherLanguage();
    AlertAnswers alerts({L("Позже")});
    EXPECT_TRUE(menu.item(AppLanguage::current())->isChecked()) << "nothing stored yet: the running language";
    EXPECT_EQ(menu.restartItem(), nullptr);

    menu.item(chosen)->trigger();
    ASSERT_EQ(alerts.texts.size(), 1);
    EXPECT_TRUE(alerts.texts[0].startsWith(L("Перезапустить Kelvara?") + u'\n'));
    EXPECT_TRUE(alerts.texts[0].contains(chosen.name())) << alerts.texts[0].toStdString();
    EXPECT_EQ(Settings().language(), chosen.id()) << "stored at once for the next launch";
    EXPECT_EQ(Settings().platformLanguages(), QStringList{chosen.id()});
    EXPECT_TRUE(menu.item(chosen)->isChecked());
    ASSERT_NE(menu.restartItem(), nullptr);
    EXPECT_EQ(menu.restartItem()->text(), L("Перезапустить сейчас"));
    EXPECT_FALSE(QFile::exists(mark));

    LanguageMenu reopened(markingRelauncher());
    EXPECT_NE(reopened.restartItem(), nullptr) << "the change still waits in a menu made anew";

    menu.item(AppLanguage::current())->trigger();
    EXPECT_EQ(alerts.texts.size(), 1) << "choosing the running language asks nothing";
    EXPECT_EQ(menu.restartItem(), nullptr);
    EXPECT_EQ(Settings().language(), AppLanguage::current().id());
}

TEST_F(LanguageMenuTest, RelaunchingNowStartsTheNewInstanceAndAsksToQuit) {
    LanguageMenu menu(markingRelauncher());
    AlertAnswers alerts({L("Перезапустить сейчас")});
    int quits = 0;
    QObject::connect(&menu, &LanguageMenu::quitRequested, [&] { ++quits; });

    menu.item(anotherLanguage())->trigger();
    EXPECT_EQ(alerts.texts.size(), 1);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(mark); }));
}

TEST_F(LanguageMenuTest, ARelaunchThatCannotStartSaysSoAndKeepsRunning) {
    LanguageMenu menu(markingRelauncher(dir.filePath(QStringLiteral("no-shell"))));
    AlertAnswers alerts({L("Перезапустить сейчас")});
    int quits = 0;
    QObject::connect(&menu, &LanguageMenu::quitRequested, [&] { ++quits; });

    menu.item(anotherLanguage())->trigger();
    ASSERT_EQ(alerts.texts.size(), 2);
    EXPECT_TRUE(alerts.texts[1].startsWith(L("Не удалось перезапустить приложение. Закройте и откройте Kelvara вручную.")));
    EXPECT_EQ(quits, 0);
    ASSERT_NE(menu.restartItem(), nullptr) << "the change still waits";
    menu.restartItem()->trigger();
    EXPECT_EQ(alerts.texts.size(), 3);
    EXPECT_EQ(quits, 0);
}

using LanguageMenuInWindow = WindowFixture;

TEST_F(LanguageMenuInWindow, SitsInTheMoreMenuAndLeavesByClosingTheWindow) {
    LanguageMenu* menu = window->content()->moreMenu()->languageMenu();
    EXPECT_EQ(window->content()->moreMenu()->actions().value(0), menu->menuAction());
    AlertAnswers alerts({L("Позже")});
    menu->item(anotherLanguage())->trigger();
    ASSERT_EQ(alerts.parents.size(), 1);
    EXPECT_EQ(alerts.parents[0], window.get()) << "the alert belongs to the window, not to the closed menu";

    int closes = 0;
    class CloseCounter : public QObject {
    public:
        explicit CloseCounter(int& count) : count_(count) {}
        bool eventFilter(QObject*, QEvent* event) override {
            count_ += event->type() == QEvent::Close ? 1 : 0;
            return false;
        }
        int& count_;
    } counter(closes);
    window->installEventFilter(&counter);
    emit menu->quitRequested();
    EXPECT_EQ(closes, 1);
    window->removeEventFilter(&counter);
}

// The file dialog's Cancel button, as Qt labels it in the language of the application.
QString fileDialogCancelText() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    return buttons && buttons->button(QDialogButtonBox::Cancel) ? buttons->button(QDialogButtonBox::Cancel)->text()
                                                               : QString();
}

TEST(PlatformTextsTest, QtsOwnDialogsSpeakTheInterfaceLanguageWhileInstalled) {
    application();
    const QString english = fileDialogCancelText();
    EXPECT_EQ(english, QStringLiteral("Cancel"));
    const std::pair<AppLanguage, const char*> expected[] = {
        {AppLanguage::Case::Russian, "Отмена"}, {AppLanguage::Case::German, "Abbrechen"}, {AppLanguage::Case::Spanish, "Cancelar"}};
    for (const auto& [language, cancel] : expected) {
        {
            const PlatformTexts texts(language);
            ASSERT_TRUE(texts.installed()) << "qt6-translations-l10n has no table for " << language.id().toStdString();
            EXPECT_EQ(fileDialogCancelText(), QString::fromUtf8(cancel));
        }
        EXPECT_EQ(fileDialogCancelText(), english) << "removed with the object";
    }
}

}  // namespace
}  // namespace kelvara::testing
