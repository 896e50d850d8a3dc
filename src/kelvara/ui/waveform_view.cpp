// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_view.h"

#include "i18n/l.h"
#include "models/performance_controls.h"
#include "models/time_label.h"
#include "ui/input_view.h"
#include "ui/strip_painter.h"
#include "ui/waveform_accessible.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace kelvara {

WaveformView::WaveformView(QWidget* parent) : QWidget(parent), input_(new InputView(this)) {
    WaveformAccessible::install();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusProxy(input_);
    input_->setAccessibleName(L("Позиция трека"));
    input_->setActions(makeInput());
    animation_.setInterval(frameInterval);
    animation_.setTimerType(Qt::PreciseTimer);
    connect(&animation_, &QTimer::timeout, this, &WaveformView::followPosition);
    connect(&band_, &WaveformBand::painted, this, [this] {
        layersDirty_ = true;
        update();
    });
}

void WaveformView::setScene(WaveformScene scene) {
    if (scene == scene_) {
        return;
    }
    const bool viewChanged = scene.viewport != scene_.viewport;
    scene_ = std::move(scene);
    if (viewChanged) {
        layersDirty_ = true;
    }
    updateAnimation();
    update();
}

void WaveformView::setWaveform(std::optional<Waveform> waveform) {
    waveform_ = waveform ? std::make_shared<const Waveform>(std::move(*waveform)) : nullptr;
    band_.setWaveform(waveform_);
    layersDirty_ = true;
    update();
}

void WaveformView::setPositionSource(std::function<double()> position) {
    position_ = std::move(position);
    update();
}

void WaveformView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    input_->setGeometry(rect());
}

void WaveformView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateAnimation();
}

void WaveformView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateAnimation();
}

void WaveformView::updateAnimation() {
    if (scene_.animating && isVisible()) {
        // A scene change (a zoom, a seek) may need smooth frames at once, not after a long sleep.
        if (!animation_.isActive() || animation_.interval() > frameInterval) {
            animation_.start(frameInterval);
        }
    } else {
        animation_.stop();
    }
}

WaveformView::FrameKey WaveformView::frameKey(double position) const {
    const double fraction = std::clamp(geometry().screenFraction(position), -1.0, 2.0);
    const double remaining = PerformanceControls::remaining(scene_.duration, position);
    const auto whole = [](double value) { return static_cast<qint64>(std::isfinite(value) ? std::clamp(value, -1e12, 1e12) : 0.0); };
    const double steps = showsWholeTrack() ? 1 : 4;
    return {whole(std::floor(fraction * width() * devicePixelRatioF() * steps)), whole(std::floor(position)), whole(std::ceil(remaining))};
}

// While a track plays in the whole-track view the line crosses a few device pixels a second:
// the timer sleeps until the next pixel or clock second instead of waking every frame.
int WaveformView::nextFrameDelay(double position) const {
    const double shown = scene_.duration * scene_.viewport.length();
    if (!scene_.playing || !showsWholeTrack() || shown <= 0) {
        return frameInterval;
    }
    const double pixelsPerSecond = width() * devicePixelRatioF() / shown;
    const double pixel = geometry().screenFraction(position) * width() * devicePixelRatioF();
    const double untilPixel = pixelsPerSecond > 0 ? (std::floor(pixel) + 1 - pixel) / pixelsPerSecond : 1.0;
    const double untilSecond = std::min(1 - (position - std::floor(position)), std::fmod(scene_.duration - position, 1.0));
    const double seconds = std::min(untilPixel, untilSecond > 0 ? untilSecond : 1.0);
    return std::clamp(static_cast<int>(std::ceil(seconds * 1000)) + 1, frameInterval, 1000);
}

void WaveformView::followPosition() {
    const double now = position();
    const FrameKey key = frameKey(now);
    if (key != paintedKey_) {
        framePosition_ = now;
        update(paintedKey_ ? changedArea(*paintedKey_, paintedPosition_, key, now) : QRegion(rect()));
    }
    if (animation_.isActive()) {
        animation_.setInterval(nextFrameDelay(now));
    }
}

// The picture is brought up to date only when the view, the size or the waveform changed.
void WaveformView::refreshLayers() {
    const QSizeF band(width(), StripPainter::bandHeight(height()));
    if (!layersDirty_ && band == layersSize_ && devicePixelRatioF() == layersRatio_) {
        return;
    }
    band_.show(layers_, {scene_.viewport, columnsAcross(), band, devicePixelRatioF()});
    layersDirty_ = false;
    layersSize_ = band;
    layersRatio_ = devicePixelRatioF();
}

// Only the play line's way and the clock texts change as the track plays: repainting just
// them keeps each frame to a few narrow strips of pixels.
QRegion WaveformView::changedArea(const FrameKey& fromKey, double from, const FrameKey& toKey, double to) const {
    const auto lineX = [this](double position) { return std::clamp(width() * geometry().screenFraction(position), 0.0, static_cast<double>(width())); };
    constexpr double lineReach = 4;  // the line's dot and antialiasing, either side
    const double left = std::min(lineX(from), lineX(to)) - lineReach;
    const double right = std::max(lineX(from), lineX(to)) + lineReach;
    QRegion area(QRectF(left, 0, right - left, height()).toAlignedRect());
    if (std::get<1>(fromKey) != std::get<1>(toKey) || std::get<2>(fromKey) != std::get<2>(toKey)) {
        const FooterLayout before = StripPainter::footerLayout(size(), from, scene_.duration);
        const FooterLayout after = StripPainter::footerLayout(size(), to, scene_.duration);
        for (const QRectF& text : {before.elapsed, after.elapsed, before.remaining, after.remaining}) {
            area += text.adjusted(-lineReach, 0, lineReach, 0).toAlignedRect();
        }
    }
    return area;
}

void WaveformView::paintEvent(QPaintEvent* event) {
    refreshLayers();
    // The frame that followPosition asked for, so that it lands inside the area it repaints;
    // a part uncovered by another window shows the frame the rest of the strip shows.
    const bool whole = QRegion(rect()).subtracted(event->region()).isEmpty() || !paintedKey_;
    const double now = framePosition_.value_or(whole ? position() : paintedPosition_);
    framePosition_.reset();
    QPainter painter(this);
    StripPainter(painter, size(), scene_, layers_).paint({now, hoverX_, held_});
    paintedKey_ = frameKey(now);
    paintedPosition_ = now;
}

WaveformInput WaveformView::makeInput() {
    WaveformInput input;
    input.click = [this](double x, Qt::KeyboardModifiers modifiers) { handleClick(x, modifiers); };
    input.hover = [this](std::optional<double> x) { setHover(x); };
    input.flags = [this](Qt::KeyboardModifiers modifiers) {
        setHeld({modifiers.testFlag(Qt::ControlModifier), modifiers.testAnyFlags(Qt::AltModifier | Qt::ShiftModifier)});
    };
    input.zoom = [this](double factor, double anchor) { emit zoomRequested(factor, anchor); };
    input.pan = [this](double delta) { emit panRequested(delta); };
    input.cancel = [this] { emit cancelRequested(); };
    input.origin = [this](double x) {
        if (scene_.beatGrid) {
            emit originRequested(std::clamp(geometry().timeAt(x), 0.0, std::max(scene_.duration, 0.0)));
        }
    };
    input.stop = [this] { emit stopLoopRequested(); };
    input.adjust = [this](int steps) { emit seekRequested(position() + keyboardSeekStep * steps); };
    input.value = [this] { return L("{0} из {1}", timeLabel(position()), timeLabel(scene_.duration)); };
    return input;
}

void WaveformView::handleClick(double x, Qt::KeyboardModifiers modifiers) {
    const StripGeometry strip = geometry();
    if (modifiers.testFlag(Qt::ControlModifier)) {
        emit loopClickRequested(strip.timeAt(x));
    } else if (modifiers.testAnyFlags(Qt::AltModifier | Qt::ShiftModifier)) {
        emit cueRequested(strip.timeAt(x));
    } else {
        emit seekRequested(strip.clickTarget(x));
    }
}

void WaveformView::setHover(std::optional<double> x) {
    if (x != hoverX_) {
        hoverX_ = x;
        update();
    }
}

void WaveformView::setHeld(HeldModifiers held) {
    if (held != held_) {
        held_ = held;
        if (hoverX_) {
            update();
        }
    }
}

QString WaveformView::helpAt(QPoint point) const {
    const FooterLayout footer = StripPainter::footerLayout(size(), position(), scene_.duration);
    if (footer.legend.contains(point)) {
        return L("НЧ <250 Гц · СЧ 250–2500 Гц · ВЧ >2500 Гц. Высота — энергия RMS, контур визуально сглажен.");
    }
    if (footer.remaining.contains(point)) {
        return L("Осталось до конца трека · длительность ") + timeLabel(scene_.duration);
    }
    return L("⌥ + клик — метка · ⌘ + два клика — повтор участка · щипок или ⇧ +/− — масштаб · прокрутка двумя пальцами — обзор");
}

bool WaveformView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), helpAt(help->pos()), this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace kelvara
