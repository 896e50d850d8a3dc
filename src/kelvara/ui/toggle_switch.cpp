// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toggle_switch.h"

#include "ui/system_colors.h"

#include <QPainter>

namespace kelvara {

namespace {
constexpr int trackWidth = 26;
constexpr int trackHeight = 15;
constexpr int labelGap = 8;
}  // namespace

ToggleSwitch::ToggleSwitch(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(text);
}

QSize ToggleSwitch::sizeHint() const {
    const QFontMetrics metrics(font());
    return {trackWidth + labelGap + metrics.horizontalAdvance(text()), std::max(trackHeight, metrics.height()) + 2};
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0.5, (height() - trackHeight) / 2.0, trackWidth, trackHeight);
    const qreal opacity = isEnabled() ? 1.0 : 0.4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? SystemColors::withOpacity(SystemColors::mint(), 0.9 * opacity) : SystemColors::white(0.16 * opacity));
    painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);
    const qreal knob = trackHeight - 4;
    const qreal knobX = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setBrush(SystemColors::white(0.95 * opacity));
    painter.drawEllipse(QRectF(knobX, track.top() + 2, knob, knob));
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(SystemColors::withOpacity(SystemColors::mint(), 0.6), 1));
        painter.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), trackHeight / 2.0 + 1.5, trackHeight / 2.0 + 1.5);
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(QRectF(trackWidth + labelGap, 0, width() - trackWidth - labelGap, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace kelvara
