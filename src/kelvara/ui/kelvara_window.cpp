// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kelvara_window.h"

#include "app_state.h"
#include "desktop/null_desktop_windows.h"
#include "desktop/player_window_attachment.h"
#include "desktop/x11_desktop_windows.h"
#include "player_directory.h"
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
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace kelvara {

namespace {

std::shared_ptr<DesktopWindows> desktopWindows() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        return std::make_shared<X11DesktopWindows>();
    }
    return std::make_shared<NullDesktopWindows>();
}

}  // namespace

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
    connectPinning();
}

void KelvaraWindow::closeEvent(QCloseEvent* event) {
    if (quitGuard_->mayQuit()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

void KelvaraWindow::connectPinning() {
    const std::shared_ptr<DesktopWindows> desktop = desktopWindows();
    desktopReachable_ = desktop->reachable();
    PlayerDirectory* players = &state_.playback().players();
    attachment_ = new PlayerWindowAttachment(desktop, players->bus(), [players]() -> std::optional<QString> {
        const std::optional<MprisPlayer> followed = players->followed();
        return followed ? std::optional(followed->connection) : std::nullopt;
    }, this);
    state_.pin().setLinkCheck([this] { return linkRefusal(); });
    connect(&state_.pin(), &PinControl::changed, this, &KelvaraWindow::applyPinMode);
}

std::optional<QString> KelvaraWindow::linkRefusal() const {
    if (!desktopReachable_) {
        return L("Для связи окон разрешите Kelvara в Системные настройки → Конфиденциальность и безопасность → Универсальный доступ, затем нажмите булавку снова.");
    }
    if (!state_.playback().players().followed()) {
        return L("Откройте окно Music и нажмите булавку снова.");
    }
    return std::nullopt;
}

// Above the others in modes 1 and 2. The flags are handed to the platform window directly:
// QWidget::setWindowFlags would hide and re-create the window.
void KelvaraWindow::applyPinMode() {
    const int mode = state_.pin().pinMode();
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, mode != PinControl::Unpinned);
    if (flags != windowFlags()) {
        overrideWindowFlags(flags);
        if (windowHandle()) {
            windowHandle()->setFlags(flags);
        }
    }
    if (windowHandle()) {
        PinControl* pin = &state_.pin();
        attachment_->configure(windowHandle(), mode, [pin](const QString& reason) { pin->fallBack(reason); });
    }
}

void KelvaraWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    GlassSurface(translucent_).paint(painter, rect());
}

void KelvaraWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyPinMode();
    state_.start();
}

void KelvaraWindow::mousePressEvent(QMouseEvent* event) {
    // Pinned to its place: only a linked or a normal window is dragged.
    if (event->button() != Qt::LeftButton || state_.pin().pinMode() == PinControl::Pinned) {
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
