// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kelvara_window.h"

#include "app_state.h"
#include "i18n/l.h"
#include "ui/content_view.h"
#include "ui/glass_surface.h"
#include "ui/language_menu.h"
#include "ui/more_menu.h"
#include "ui/quit_guard.h"
#include "ui/waveform_view.h"
#include "ui/window_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace kelvara {

KelvaraWindow::KelvaraWindow(AppState& state, bool translucent, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      translucent_(translucent),
      commands_(new WindowCommands(state, this)),
      content_(new ContentView(state, *commands_, translucent, this)),
      quitGuard_(new QuitGuard(state, this)) {
    setObjectName(QStringLiteral("waveform"));
    setWindowTitle(L("Kelvara · Звуковая волна"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("kelvara"), QIcon(QStringLiteral(":/icons/kelvara.svg"))));
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    addActions(commands_->all());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    resize(defaultSize.expandedTo(minimumSizeHint()));
    content_->strip()->setFocus();
    // A relaunch leaves the way every quit does: by closing the program's one window.
    connect(content_->moreMenu()->languageMenu(), &LanguageMenu::quitRequested, this, &QWidget::close);
    // Queued: the hand-back may finish inside the close it deferred.
    connect(quitGuard_, &QuitGuard::handedBack, this, &QWidget::close, Qt::QueuedConnection);
    auto* quit = new QAction(this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
}

void KelvaraWindow::closeEvent(QCloseEvent* event) {
    if (quitGuard_->mayQuit()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

void KelvaraWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    GlassSurface(translucent_).paint(painter, rect());
}

void KelvaraWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    state_.start();
}

void KelvaraWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (!windowHandle() || !windowHandle()->startSystemMove()) {
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    event->accept();
}

void KelvaraWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
    }
}

void KelvaraWindow::mouseReleaseEvent(QMouseEvent*) { dragOffset_.reset(); }

void KelvaraWindow::contextMenuEvent(QContextMenuEvent* event) { content_->moreMenu()->popup(event->globalPos()); }

}  // namespace kelvara
