// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/anchored_popup.h"

#include "ui/glass_surface.h"

#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvara {

namespace {
constexpr int gap = 6;
constexpr double panelRadius = 12;
}  // namespace

AnchoredPopup::AnchoredPopup(bool translucent, QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), translucent_(translucent) {
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    setAttribute(Qt::WA_NoMouseReplay);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AnchoredPopup::setContent(QWidget* content) {
    if (content_) {
        layout()->removeWidget(content_);
        content_->deleteLater();
    }
    content_ = content;
    layout()->addWidget(content_);
}

void AnchoredPopup::showAt(QWidget* anchor) {
    anchor_ = anchor;
    adjustSize();
    place();
    show();
    raise();
    activateWindow();
}

void AnchoredPopup::place() {
    if (!anchor_) {
        return;
    }
    const QRect button(anchor_->mapToGlobal(QPoint(0, 0)), anchor_->size());
    const QScreen* screen = anchor_->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
    QPoint at(button.center().x() - width() / 2, button.bottom() + gap);
    if (at.y() + height() > room.bottom() && button.top() - gap - height() >= room.top()) {
        at.setY(button.top() - gap - height());
    }
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
    move(at);
}

void AnchoredPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    GlassSurface(translucent_).paint(painter, rect(), panelRadius);
}

void AnchoredPopup::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    emit closed();
}

}  // namespace kelvara
