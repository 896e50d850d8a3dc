// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_accessible.h"

#include "ui/input_view.h"

namespace kelvara {

namespace {

QAccessibleInterface* createAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(InputView::staticMetaObject.className())) {
        if (auto* view = qobject_cast<InputView*>(object)) {
            return new WaveformAccessible(view);
        }
    }
    return nullptr;
}

}  // namespace

WaveformAccessible::WaveformAccessible(InputView* view) : QAccessibleWidget(view, QAccessible::Slider) {}

void WaveformAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(createAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

InputView* WaveformAccessible::view() const { return static_cast<InputView*>(widget()); }

QString WaveformAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) {
        const auto& actions = view()->actions();
        return actions && actions->value ? actions->value() : QString();
    }
    return QAccessibleWidget::text(kind);
}

QStringList WaveformAccessible::actionNames() const {
    return {increaseAction(), decreaseAction(), setFocusAction()};
}

void WaveformAccessible::doAction(const QString& actionName) {
    const auto& actions = view()->actions();
    if (actionName == setFocusAction()) {
        view()->setFocus(Qt::OtherFocusReason);
    } else if (actions && actions->adjust && (actionName == increaseAction() || actionName == decreaseAction())) {
        actions->adjust(actionName == increaseAction() ? 1 : -1);
    }
}

QStringList WaveformAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == increaseAction()) {
        return {QStringLiteral("Right")};
    }
    if (actionName == decreaseAction()) {
        return {QStringLiteral("Left")};
    }
    return {};
}

}  // namespace kelvara
