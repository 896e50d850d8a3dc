// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/input_view.h"

#include "i18n/l.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

Qt::KeyboardModifier modifierOfKey(int key) {
    switch (key) {
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    default:
        return Qt::NoModifier;
    }
}

}  // namespace

InputView::InputView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

double InputView::safeWidth() const { return std::max(static_cast<double>(width()), 1.0); }

void InputView::reportModifiers(Qt::KeyboardModifiers modifiers) {
    if (actions_ && actions_->flags) {
        actions_->flags(modifiers & trackedModifiers);
    }
}

bool InputView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::NativeGesture: {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture && actions_ && actions_->zoom) {
            actions_->zoom(std::exp(gesture->value()), gesture->position().x() / safeWidth());
        }
        return true;
    }
    case QEvent::ToolTip:
        // The strip below knows which part of it the pointer is over.
        return parentWidget() ? QCoreApplication::sendEvent(parentWidget(), event) : false;
    default:
        return QWidget::event(event);
    }
}

bool InputView::eventFilter(QObject* watched, QEvent* event) {
    // While the pointer is over the strip, modifier keys matter even when focus is elsewhere.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifier changed = modifierOfKey(key->key());
        if (changed != Qt::NoModifier) {
            const bool pressed = event->type() == QEvent::KeyPress;
            reportModifiers(pressed ? key->modifiers() | changed : key->modifiers() & ~Qt::KeyboardModifiers(changed));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InputView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !actions_) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    down_ = event->position();
    previous_ = event->position();
    moved_ = false;
    downModifiers_ = event->modifiers() & trackedModifiers;
    event->accept();
}

void InputView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Two quick clicks are two clicks (the loop is made from two Ctrl-clicks).
    mousePressEvent(event);
}

void InputView::mouseMoveEvent(QMouseEvent* event) {
    if (!actions_) {
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        reportModifiers(event->modifiers());
        if (actions_->hover) {
            actions_->hover(event->position().x());
        }
        return;
    }
    if (!down_ || !previous_) {
        return;
    }
    const QPointF point = event->position();
    const QPointF offset = point - *down_;
    if (std::hypot(offset.x(), offset.y()) > dragThreshold) {
        moved_ = true;
    }
    if (moved_ && actions_->pan) {
        // Dragging right brings earlier music into view: the track follows the pointer.
        actions_->pan((previous_->x() - point.x()) / safeWidth());
    }
    previous_ = point;
}

void InputView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool isClick = down_ && !moved_ && (event->modifiers() & downModifiers_) == downModifiers_;
    down_.reset();
    previous_.reset();
    if (isClick && actions_ && actions_->click) {
        actions_->click(event->position().x(), downModifiers_);
    }
}

void InputView::wheelEvent(QWheelEvent* event) {
    if (!actions_ || !actions_->pan) {
        return;
    }
    const bool precise = !event->pixelDelta().isNull();
    const QPointF delta = precise ? QPointF(event->pixelDelta()) : QPointF(event->angleDelta()) / 120.0 * lineScrollPoints;
    const double d = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    actions_->pan(-d / safeWidth());
    event->accept();
}

void InputView::keyPressEvent(QKeyEvent* event) {
    if (!actions_) {
        event->ignore();
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (event->key() == Qt::Key_Escape && actions_->cancel) {
        actions_->cancel();
    } else if (plain && event->key() == Qt::Key_Left && actions_->adjust) {
        actions_->adjust(-1);
    } else if (plain && event->key() == Qt::Key_Right && actions_->adjust) {
        actions_->adjust(1);
    } else {
        event->ignore();  // the window's commands get every other key
    }
}

void InputView::contextMenuEvent(QContextMenuEvent* event) {
    if (!actions_) {
        return;
    }
    menuX_ = event->pos().x();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const WaveformInput actions = *actions_;
    const double x = menuX_;
    menu->addAction(L("Выключить повтор участка"), this, [actions] { if (actions.stop) actions.stop(); });
    menu->addAction(L("Отменить начало участка"), this, [actions] { if (actions.cancel) actions.cancel(); });
    menu->addAction(L("Начало квадрата здесь"), this, [actions, x] { if (actions.origin) actions.origin(x); });
    menu->popup(event->globalPos());
}

void InputView::enterEvent(QEnterEvent* event) {
    qApp->installEventFilter(this);
    reportModifiers(QGuiApplication::keyboardModifiers());
    if (actions_ && actions_->hover) {
        actions_->hover(event->position().x());
    }
}

void InputView::leaveEvent(QEvent*) {
    qApp->removeEventFilter(this);
    if (actions_ && actions_->hover) {
        actions_->hover(std::nullopt);
    }
}

}  // namespace kelvara
