// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/glass_surface.h"

#include "ui/system_colors.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace kelvara {

void GlassSurface::paint(QPainter& painter, const QRectF& rect, double radius) const {
    painter.save();
    if (!translucent_) {
        // What "reduce transparency" shows: opaque grey of white level 0.16.
        painter.fillRect(rect, QColor::fromRgbF(0.16f, 0.16f, 0.16f));
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A dark tint strong enough to read on any wallpaper, lighter towards the top edge.
    QLinearGradient tint(rect.topLeft(), rect.bottomLeft());
    tint.setColorAt(0, QColor(38, 40, 46, 222));
    tint.setColorAt(1, QColor(22, 23, 27, 232));
    painter.fillPath(shape, tint);
    painter.fillPath(shape, SystemColors::white(0.15 * 0.08));
    painter.setPen(QPen(SystemColors::white(0.10), 1));
    painter.drawPath(shape);
    painter.restore();
}

}  // namespace kelvara
