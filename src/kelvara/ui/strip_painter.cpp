// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/strip_painter.h"

#include "i18n/l.h"
#include "models/cue_color.h"
#include "models/performance_controls.h"
#include "models/time_label.h"
#include "ui/system_colors.h"
#include "ui/ui_fonts.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace kelvara {

namespace {

// The strip's type: small monospaced figures that do not jitter as the time runs.
struct StripFonts {
    QFont footer;
    QFont remaining;
    QFont capsule;

    static const StripFonts& get() {
        static const StripFonts fonts{
            UiFonts::monospaced(11),
            UiFonts::monospaced(13, QFont::DemiBold),
            UiFonts::proportional(11),
        };
        return fonts;
    }
};

struct LegendItem {
    const char* label;
    QColor (*color)();
};

const std::array<LegendItem, 3>& legendItems() {
    static const std::array<LegendItem, 3> items{{
        {"НЧ", &SystemColors::orange},
        {"СЧ", &SystemColors::mint},
        {"ВЧ", &SystemColors::cyan},
    }};
    return items;
}

constexpr double legendDot = 3;
constexpr double legendDotGap = 3;
constexpr double legendItemGap = 7;
constexpr double capsuleInset = 5;
constexpr double capsuleTop = 3;

// Keeps v inside lo…hi where it can; when the strip is too narrow for the bounds to make
// sense (hi < lo) the lower bound wins, so nothing is ever placed left of the strip.
double clampInto(double v, double lo, double hi) { return std::max(std::min(v, hi), lo); }

QString elapsedText(double position) { return timeLabel(position); }

QString remainingText(double remaining) { return QStringLiteral("\u2212") + timeLabel(std::ceil(remaining)); }

double legendWidth(const QFontMetricsF& metrics) {
    double width = 0;
    for (const LegendItem& item : legendItems()) {
        width += legendDot + legendDotGap + metrics.horizontalAdvance(L(item.label));
    }
    return width + legendItemGap * static_cast<double>(legendItems().size() - 1);
}

QColor urgencyColor(int urgency) {
    switch (urgency) {
    case 2:
        return SystemColors::red();
    case 1:
        return SystemColors::orange();
    default:
        return SystemColors::white(0.8);
    }
}

}  // namespace

StripPainter::StripPainter(QPainter& painter, QSizeF size, const WaveformScene& scene, const WaveformLayers& layers)
    : painter_(painter), size_(size), scene_(scene), layers_(layers), geometry_(scene, size.width()) {}

void StripPainter::paint(const StripFrame& frame) {
    const double fraction = geometry_.screenFraction(frame.position);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    drawGrid();
    drawWaveform(fraction);
    drawLoopRegions();
    drawPlayLine(fraction);
    drawLoopIn();
    drawFooter(frame.position);
    drawCues();
    const QRectF notice = drawNotice();
    if (frame.hoverX) {
        drawHover(*frame.hoverX, frame.held, notice);
    }
    painter_.restore();
}

void StripPainter::drawGrid() {
    const auto& grid = scene_.beatGrid;
    const double duration = scene_.duration;
    if (!scene_.showBeatGrid || !grid || !grid->valid() || duration <= 0) {
        return;
    }
    const double width = size_.width();
    const double interval = grid->interval();
    const double visible = duration / scene_.viewport.zoom;
    const double pointsPerBeat = width * interval / visible;
    constexpr int bar = BeatGrid::beatsPerBar;
    constexpr int square = BeatGrid::beatsPerSquare;
    const int stride = pointsPerBeat >= 5 ? 1 : (bar * pointsPerBeat >= 5 ? bar : square);
    const double first = std::ceil((scene_.viewport.start * duration - grid->origin) / interval / stride) * stride;
    const double last = std::floor((scene_.viewport.rangeUpper() * duration - grid->origin) / interval);
    if (last < first || last - first > 99'999) {
        return;
    }
    const double height = std::max(size_.height() - footerHeight, 1.0);
    std::vector<QLineF> squares;
    std::vector<QLineF> bars;
    std::vector<QLineF> beats;
    std::vector<QLineF> ticks;
    for (auto beat = static_cast<std::int64_t>(first); beat <= static_cast<std::int64_t>(last); beat += stride) {
        const double x = geometry_.xOf(static_cast<double>(beat) * interval + grid->origin);
        const QLineF line(x, 0, x, height);
        if (beat % square == 0) {
            squares.push_back(line);
            ticks.emplace_back(x, 0, x, 4);
        } else if (beat % bar == 0) {
            bars.push_back(line);
        } else {
            beats.push_back(line);
        }
    }
    const auto drawAll = [this](const std::vector<QLineF>& lines, const QColor& color, double lineWidth) {
        if (!lines.empty()) {
            painter_.setPen(QPen(color, lineWidth, Qt::SolidLine, Qt::FlatCap));
            painter_.drawLines(lines.data(), static_cast<int>(lines.size()));
        }
    };
    drawAll(beats, SystemColors::white(0.055), 0.5);
    drawAll(bars, SystemColors::white(0.13), 0.5);
    drawAll(squares, SystemColors::white(0.32), 0.8);
    drawAll(ticks, SystemColors::withOpacity(SystemColors::mint(), 0.8), 1.2);
}

void StripPainter::drawWaveform(double fraction) {
    if (layers_.isEmpty()) {
        return;
    }
    const QRectF band(0, 0, size_.width(), bandHeight(size_.height()));
    painter_.save();
    const QRectF placed = layers_.placedIn(band);
    painter_.setClipRect(band, Qt::IntersectClip);
    painter_.setOpacity(0.6);
    painter_.drawImage(placed, layers_.image());
    const double played = std::max(std::min(size_.width() * fraction, size_.width()), 0.0);
    if (played > 0) {
        painter_.setOpacity(1.0);
        painter_.setClipRect(QRectF(0, 0, played, band.height()), Qt::IntersectClip);
        painter_.drawImage(placed, layers_.image());
    }
    painter_.restore();
}

void StripPainter::drawLoopRegions() {
    const auto& active = scene_.activeLoop;
    const auto& selection = scene_.loopSelection;
    if (selection && selection != active) {
        drawRegion(*selection, Qt::white, 0.07, 0.4);
    }
    if (active) {
        drawRegion(*active, SystemColors::mint(), 0.14, 0.8);
    }
}

void StripPainter::drawRegion(const LoopRegion& region, const QColor& color, qreal fillOpacity, qreal borderOpacity) {
    const double visible = scene_.duration / scene_.viewport.zoom;
    const double width = std::max(size_.width() / std::max(visible, 0.001) * (region.end - region.start), 1.0);
    const QRectF rect(geometry_.xOf(region.start), 0, width, std::max(size_.height() - footerHeight, 1.0));
    constexpr double border = 0.7;
    QPainterPath fill;
    fill.addRoundedRect(rect, 3, 3);
    painter_.fillPath(fill, SystemColors::withOpacity(color, fillOpacity));
    QPainterPath edge;
    edge.addRoundedRect(rect.adjusted(border / 2, border / 2, -border / 2, -border / 2), 3 - border / 2, 3 - border / 2);
    painter_.strokePath(edge, QPen(SystemColors::withOpacity(color, borderOpacity), border));
}

void StripPainter::drawPlayLine(double fraction) {
    if (fraction < 0 || fraction > 1) {
        return;
    }
    const double width = size_.width();
    const double x = width * fraction;
    painter_.fillRect(QRectF(clampInto(x, 0, width - 1), 0, 0.75, markHeight()), SystemColors::white(0.75));
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(SystemColors::white(0.9));
    painter_.drawEllipse(QRectF(clampInto(x - 1, 0, width - 3), 0, 3, 3));
}

void StripPainter::drawLoopIn() {
    if (scene_.loopIn) {
        painter_.fillRect(QRectF(geometry_.xOf(*scene_.loopIn), 0, 1, markHeight()), SystemColors::orange());
    }
}

FooterLayout StripPainter::footerLayout(QSizeF size, double position, double duration) {
    const StripFonts& fonts = StripFonts::get();
    const QFontMetricsF small(fonts.footer);
    const QFontMetricsF large(fonts.remaining);
    const double rowHeight = large.height();
    const double top = size.height() - 6.5 - rowHeight / 2;
    const double remaining = PerformanceControls::remaining(duration, position);
    FooterLayout layout;
    layout.elapsed = QRectF(0, top, small.horizontalAdvance(elapsedText(position)), rowHeight);
    const double remainingWidth = large.horizontalAdvance(remainingText(remaining));
    layout.remaining = QRectF(std::max(size.width() - remainingWidth, 0.0), top, remainingWidth, rowHeight);
    const double legend = legendWidth(small);
    const double room = layout.remaining.left() - layout.elapsed.right();
    if (room >= legend + 16) {
        layout.legend = QRectF(layout.elapsed.right() + (room - legend) / 2, top, legend, rowHeight);
    }
    return layout;
}

void StripPainter::drawFooter(double position) {
    const StripFonts& fonts = StripFonts::get();
    const FooterLayout layout = footerLayout(size_, position, scene_.duration);
    const double remaining = PerformanceControls::remaining(scene_.duration, position);

    painter_.setFont(fonts.footer);
    painter_.setPen(SystemColors::withOpacity(SystemColors::mint(), 0.9));
    painter_.drawText(layout.elapsed, Qt::AlignLeft | Qt::AlignVCenter, elapsedText(position));

    if (!layout.legend.isEmpty()) {
        const QFontMetricsF metrics(fonts.footer);
        double x = layout.legend.left();
        const double centre = layout.legend.center().y();
        for (const LegendItem& item : legendItems()) {
            painter_.setPen(Qt::NoPen);
            painter_.setBrush(SystemColors::withOpacity(item.color(), 0.8));
            painter_.drawEllipse(QRectF(x, centre - legendDot / 2, legendDot, legendDot));
            x += legendDot + legendDotGap;
            const QString label = L(item.label);
            const double labelWidth = metrics.horizontalAdvance(label);
            painter_.setPen(SystemColors::white(0.4));
            painter_.drawText(QRectF(x, layout.legend.top(), labelWidth, layout.legend.height()), Qt::AlignLeft | Qt::AlignVCenter, label);
            x += labelWidth + legendItemGap;
        }
    }

    painter_.setFont(fonts.remaining);
    painter_.setPen(urgencyColor(PerformanceControls::urgency(remaining, scene_.duration)));
    painter_.drawText(layout.remaining, Qt::AlignRight | Qt::AlignVCenter, remainingText(remaining));
}

void StripPainter::drawCues() {
    constexpr double glyphHalfWidth = 3.5;
    constexpr double glyphHeight = 9;
    constexpr double notch = 2.5;
    const double height = bandHeight(size_.height());
    for (const CuePoint& cue : scene_.cues) {
        const double fraction = geometry_.screenFraction(cue.seconds);
        if (fraction < 0 || fraction > 1) {
            continue;
        }
        const double x = size_.width() * fraction;
        const QColor color = SystemColors::withOpacity(SystemColors::fromRgb(cueColor(cue.color)), 0.85);
        QPainterPath glyph;
        glyph.moveTo(x - glyphHalfWidth, 0);
        glyph.lineTo(x + glyphHalfWidth, 0);
        glyph.lineTo(x + glyphHalfWidth, glyphHeight);
        glyph.lineTo(x, glyphHeight - notch);
        glyph.lineTo(x - glyphHalfWidth, glyphHeight);
        glyph.closeSubpath();
        painter_.fillPath(glyph, color);
        painter_.fillRect(QRectF(x - 0.25, glyphHeight - notch, 0.5, height - glyphHeight + notch), color);
    }
}

QRectF StripPainter::drawCapsule(QPointF topLeft, const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    const QRectF rect(topLeft, QSizeF(metrics.horizontalAdvance(text) + 2 * capsuleInset, metrics.height() + 2 * capsuleInset));
    // The hairline stays inside the capsule, so a capsule at x = 0 never bleeds left of it.
    constexpr double hairline = 0.5;
    const QRectF outline = rect.adjusted(hairline, hairline, -hairline, -hairline);
    const double radius = outline.height() / 2;
    painter_.setPen(QPen(SystemColors::white(0.12), hairline));
    painter_.setBrush(QColor(24, 26, 30, 200));
    painter_.drawRoundedRect(outline, radius, radius);
    painter_.setFont(font);
    painter_.setPen(SystemColors::white(0.92));
    painter_.drawText(rect, Qt::AlignCenter, text);
    return rect;
}

QRectF StripPainter::drawNotice() {
    if (!scene_.seekNotice) {
        return {};
    }
    const QFont& font = StripFonts::get().capsule;
    const double width = QFontMetricsF(font).horizontalAdvance(*scene_.seekNotice) + 2 * capsuleInset;
    return drawCapsule(QPointF(std::max((size_.width() - width) / 2, 0.0), capsuleTop), *scene_.seekNotice, font);
}

void StripPainter::drawHover(double x, HeldModifiers held, const QRectF& notice) {
    if (!scene_.canControl || scene_.duration <= 0) {
        return;
    }
    const double lineX = geometry_.xOf(geometry_.hoverTarget(x, held));
    painter_.fillRect(QRectF(lineX, 0, 0.6, markHeight()), SystemColors::white(0.5));
    const QFont& font = StripFonts::get().capsule;
    const QString label = geometry_.hoverLabel(x, held);
    const double width = QFontMetricsF(font).horizontalAdvance(label) + 2 * capsuleInset;
    const double left = clampInto(x - 25, 0, size_.width() - width);
    // Under the notice when the two would overlap, so both stay readable.
    const bool underNotice = notice.isValid() && left < notice.right() && left + width > notice.left();
    drawCapsule(QPointF(left, underNotice ? notice.bottom() + capsuleTop : capsuleTop), label, font);
}

}  // namespace kelvara
