// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/vocal_actions.h"

#include "app_state.h"
#include "i18n/l.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>

namespace kelvara {

VocalActions::VocalActions(AppState& state, QObject* parent)
    : QObject(parent),
      state_(state),
      status_(new QAction(this)),
      install_(new QAction(L("Установить вокальный модуль…"), this)),
      automatic_(new QAction(L("Готовить инструментал автоматически"), this)),
      prepare_(new QAction(L("Подготовить инструментал"), this)),
      retry_(new QAction(L("Повторить подготовку"), this)) {
    status_->setEnabled(false);
    automatic_->setCheckable(true);
    connect(install_, &QAction::triggered, this, [] {
        if (const QString installer = installerPath(); !installer.isEmpty()) {
            QProcess::startDetached(installer, {});
        }
    });
    connect(automatic_, &QAction::toggled, &state_, &AppState::setAutoInstrumental);
    connect(prepare_, &QAction::triggered, &state_, &AppState::prepareCurrentInstrumental);
    connect(retry_, &QAction::triggered, &state_, &AppState::prepareCurrentInstrumental);
    connect(&state_, &AppState::changed, this, &VocalActions::refresh);
    refresh();
}

QString VocalActions::installerPath() {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/morvik");
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable() ? path : QString();
}

void VocalActions::addToMoreMenu(QMenu& menu) const {
    for (QAction* item : {install_, automatic_, status_, prepare_}) {
        menu.addAction(item);
    }
}

void VocalActions::addToButtonMenu(QMenu& menu) const {
    for (QAction* item : {status_, install_, automatic_, retry_}) {
        menu.addAction(item);
    }
}

void VocalActions::refresh() {
    const VocalPreparation& vocals = state_.vocals();
    status_->setText(vocals.vocalStatus());
    const QSignalBlocker quiet(automatic_);
    automatic_->setChecked(vocals.autoInstrumental());
    prepare_->setEnabled(!vocals.vocalWorking() && state_.canControl());
    retry_->setEnabled(!vocals.vocalWorking());
}

}  // namespace kelvara
