// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "ui/strip_geometry.h"
#include "ui/waveform_band.h"
#include "ui/waveform_input.h"
#include "ui/waveform_layers.h"
#include "ui/waveform_scene.h"

#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace kelvara {

class InputView;

// The waveform strip: draws the scene, the waveform's display columns and the play position,
// and turns the input layer's reports into requests (seek, loop click, cue, zoom, pan …) for
// whoever owns the state. It animates only while the scene says something moves, and then
// repaints only when a frame would look different, and only where it would.
class WaveformView : public QWidget {
    Q_OBJECT

public:
    static constexpr double pointsPerColumn = 1.35;
    static constexpr double keyboardSeekStep = 5;  // seconds
    static constexpr int frameInterval = 16;       // ms: at most about 60 frames a second

    explicit WaveformView(QWidget* parent = nullptr);

    void setScene(WaveformScene scene);
    const WaveformScene& scene() const { return scene_; }
    void setWaveform(std::optional<Waveform> waveform);
    // The interpolated play position, asked at every frame.
    void setPositionSource(std::function<double()> position);
    double position() const { return position_ ? position_() : 0.0; }
    // Repaints if the play position moved since the last frame; for changes of the state
    // while nothing animates (a seek or a poll while paused).
    void followPosition();

    InputView* inputView() const { return input_; }
    // A waveform with something to draw has arrived.
    bool hasWaveform() const { return waveform_ && waveform_->valid(); }
    bool isAnimating() const { return animation_.isActive(); }
    // The waveform shown is painted for the current view, not stretched from another zoom.
    bool showsExactWaveform() const { return band_.isExact(); }

signals:
    void seekRequested(double seconds);
    void loopClickRequested(double seconds);
    void cueRequested(double seconds);
    void zoomRequested(double factor, double anchor);
    void panRequested(double delta);
    void cancelRequested();
    void originRequested(double seconds);
    void stopLoopRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // What a frame shows of the moving play position: the device pixel of the line (a quarter
    // of one when zoomed in, so that it glides) and the two clock texts. Frames with the same
    // key look the same.
    using FrameKey = std::tuple<qint64, qint64, qint64>;

    StripGeometry geometry() const { return StripGeometry(scene_, width()); }
    WaveformInput makeInput();
    int columnsAcross() const { return std::max(1, static_cast<int>(width() / pointsPerColumn)); }
    void refreshLayers();
    void updateAnimation();
    FrameKey frameKey(double position) const;
    bool showsWholeTrack() const { return scene_.viewport.zoom <= 1; }
    int nextFrameDelay(double position) const;
    QRegion changedArea(const FrameKey& fromKey, double from, const FrameKey& toKey, double to) const;
    void handleClick(double x, Qt::KeyboardModifiers modifiers);
    void setHover(std::optional<double> x);
    void setHeld(HeldModifiers held);
    QString helpAt(QPoint point) const;

    InputView* input_;
    QTimer animation_;
    WaveformScene scene_;
    std::shared_ptr<const Waveform> waveform_;
    std::function<double()> position_;
    WaveformBand band_;
    WaveformLayers layers_;  // the visible band's picture
    bool layersDirty_ = true;
    QSizeF layersSize_;
    qreal layersRatio_ = 0;
    std::optional<double> hoverX_;
    HeldModifiers held_;
    std::optional<FrameKey> paintedKey_;
    double paintedPosition_ = 0;
    std::optional<double> framePosition_;  // asked for by followPosition, not yet painted
};

}  // namespace kelvara
