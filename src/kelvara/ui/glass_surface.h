// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QRectF>

namespace kelvara {

// The window's background: a dark, rounded, translucent surface where the desktop composites
// windows, and an opaque grey (never black) where it does not.
class GlassSurface {
public:
    static constexpr double cornerRadius = 16;

    explicit GlassSurface(bool translucent) : translucent_(translucent) {}

    bool isTranslucent() const { return translucent_; }
    void paint(QPainter& painter, const QRectF& rect, double radius = cornerRadius) const;

private:
    bool translucent_;
};

}  // namespace kelvara
