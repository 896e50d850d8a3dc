// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/busy_spinner.h"

#include "ui/system_colors.h"

#include <QPainter>

namespace kelvara {

namespace {

constexpr int stepDegrees = 30;
constexpr int stepMilliseconds = 80;

}  // namespace

BusySpinner::BusySpinner(int size, QWidget* parent) : QWidget(parent) {
    setFixedSize(size, size);
    turn_.setInterval(stepMilliseconds);
    connect(&turn_, &QTimer::timeout, this, [this] {
        angle_ = (angle_ + stepDegrees) % 360;
        update();
    });
}

void BusySpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(SystemColors::white(0.7), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QRectF circle = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.drawArc(circle, -angle_ * 16, 270 * 16);
}

void BusySpinner::showEvent(QShowEvent*) { turn_.start(); }
void BusySpinner::hideEvent(QHideEvent*) { turn_.stop(); }

}  // namespace kelvara
