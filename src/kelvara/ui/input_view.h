// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/waveform_input.h"

#include <QPointF>
#include <QWidget>

#include <optional>

namespace kelvara {

// The transparent layer over the waveform strip that turns mouse, wheel, touchpad and key
// events into the reports of WaveformInput. A press becomes a click only when it moved at
// most 5 points and the modifiers held at the press are still held at the release; beyond
// 5 points it pans instead.
class InputView : public QWidget {
    Q_OBJECT

public:
    static constexpr double dragThreshold = 5;  // points
    static constexpr double lineScrollPoints = 12;
    static constexpr Qt::KeyboardModifiers trackedModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;

    explicit InputView(QWidget* parent = nullptr);

    void setActions(WaveformInput actions) { actions_ = std::move(actions); }
    const std::optional<WaveformInput>& actions() const { return actions_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    double safeWidth() const;
    void reportModifiers(Qt::KeyboardModifiers modifiers);

    std::optional<WaveformInput> actions_;
    std::optional<QPointF> down_;
    std::optional<QPointF> previous_;
    bool moved_ = false;
    Qt::KeyboardModifiers downModifiers_;
    double menuX_ = 0;
};

}  // namespace kelvara
