// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"
#include "relaunch/relauncher.h"

#include <QMenu>

namespace kelvara {

// "Язык / Language": one item per interface language, the stored choice checked. A choice
// is stored at once but applies from the next launch; while one waits, the menu says so
// and offers to relaunch the program.
class LanguageMenu : public QMenu {
    Q_OBJECT

public:
    explicit LanguageMenu(Relauncher relauncher = Relauncher::ofThisProcess(), QWidget* parent = nullptr);

    void fill();
    QAction* item(AppLanguage language) const;
    QAction* restartItem() const { return restart_; }  // absent while no change waits

signals:
    // The new instance is on its way: the program should now quit the normal way, which lets
    // it hand playback back first.
    void quitRequested();

private:
    static AppLanguage storedChoice();
    void select(AppLanguage language);
    bool confirmRestart(AppLanguage language);
    QWidget* alertParent() const;
    void restart();

    Relauncher relauncher_;
    QAction* restart_ = nullptr;
};

}  // namespace kelvara
