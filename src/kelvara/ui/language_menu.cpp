// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language_menu.h"

#include "i18n/l.h"
#include "storage/settings.h"

#include <QActionGroup>
#include <QMessageBox>
#include <QPushButton>

namespace kelvara {

LanguageMenu::LanguageMenu(Relauncher relauncher, QWidget* parent)
    : QMenu(L("Язык / Language"), parent), relauncher_(std::move(relauncher)) {
    connect(this, &QMenu::aboutToShow, this, &LanguageMenu::fill);
    fill();
}

AppLanguage LanguageMenu::storedChoice() {
    const std::optional<QString> stored = Settings().language();
    return stored ? AppLanguage::fromId(*stored).value_or(AppLanguage::current()) : AppLanguage::current();
}

void LanguageMenu::fill() {
    clear();
    restart_ = nullptr;
    auto* group = new QActionGroup(this);
    const AppLanguage chosen = storedChoice();
    for (AppLanguage language : AppLanguage::allCases()) {
        QAction* entry = addAction(language.name());
        entry->setCheckable(true);
        entry->setChecked(language == chosen);
        entry->setData(language.id());
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, language] { select(language); });
    }
    if (chosen != AppLanguage::current()) {
        addSeparator();
        addAction(L("После перезапуска"))->setEnabled(false);
        restart_ = addAction(L("Перезапустить сейчас"), this, &LanguageMenu::restart);
    }
}

QAction* LanguageMenu::item(AppLanguage language) const {
    for (QAction* entry : actions()) {
        if (entry->data().toString() == language.id()) {
            return entry;
        }
    }
    return nullptr;
}

void LanguageMenu::select(AppLanguage language) {
    Settings settings;
    settings.setLanguage(language.id());
    settings.setPlatformLanguages({language.id()});
    fill();
    // Choosing the running language back only cancels the waiting change.
    if (language != AppLanguage::current() && confirmRestart(language)) {
        restart();
    }
}

bool LanguageMenu::confirmRestart(AppLanguage language) {
    QMessageBox alert(QMessageBox::Question, L("Перезапустить Kelvara?"),
                      L("Перезапустить Kelvara?"), QMessageBox::NoButton, alertParent());
    alert.setInformativeText(L("Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет "
                               "инструментал, перед перезапуском приложение вернёт воспроизведение в Music.",
                               language.name()));
    QPushButton* now = alert.addButton(L("Перезапустить сейчас"), QMessageBox::AcceptRole);
    alert.addButton(L("Позже"), QMessageBox::RejectRole);
    alert.setDefaultButton(now);
    alert.exec();
    return alert.clickedButton() == now;
}

// The window the menus belong to: the menus themselves have closed by the time an alert opens.
QWidget* LanguageMenu::alertParent() const {
    QWidget* widget = parentWidget();
    while (qobject_cast<QMenu*>(widget)) {
        widget = widget->parentWidget();
    }
    return widget ? widget->window() : nullptr;
}

void LanguageMenu::restart() {
    if (relauncher_.start()) {
        emit quitRequested();
        return;
    }
    QMessageBox::warning(alertParent(), QStringLiteral("Kelvara"),
                         L("Не удалось перезапустить приложение. Закройте и откройте Kelvara вручную."));
}

}  // namespace kelvara
