// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>

namespace kelvara {

// Keeps the window next to the followed player's window while linked (pin mode 2): at 30 Hz
// it reads where the player's window is and moves ours by as much, or, when ours was dragged,
// moves the player's window so that the distance recorded at linking stays. Movements of
// 0.8 px or less are ignored, so the two never chase each other. Positions are the desktop's
// device pixels, read from it for both windows; distances are judged in the window's own
// pixels, so a scaled screen's rounding is no movement. The desktop calls run on a
// worker thread, one step at a time; a step's result is dropped when the link changed meanwhile.
class PlayerWindowAttachment : public QObject {
    Q_OBJECT

public:
    static constexpr int ticksPerSecond = 30;
    static constexpr double ignoredDistance = 0.8;

    // The unique bus name of the followed player, or none while no player runs.
    using PlayerConnection = std::function<std::optional<QString>()>;
    using Failure = std::function<void(const QString&)>;

    PlayerWindowAttachment(std::shared_ptr<DesktopWindows> desktop, QDBusConnection bus, PlayerConnection player,
                           QObject* parent = nullptr);
    ~PlayerWindowAttachment() override;

    // Follows `window`'s pin mode; only mode 2 links. A failure ends the link and is reported.
    void configure(QWindow* window, int mode, Failure failure);

    // Our top-left minus the player's, as recorded when the link started, in device pixels.
    QPoint offset() const { return offset_; }
    bool linked() const { return timer_.isActive(); }

private:
    struct Step;
    struct Result;

    void tick();
    Result run(const Step& step);
    void accept(const Result& result);
    void fail(const QString& text);
    std::optional<std::uint32_t> processOf(const QString& connection) const;

    // Main thread.
    std::shared_ptr<DesktopWindows> desktop_;  // used by the worker only, one step at a time
    QDBusConnection bus_;
    PlayerConnection player_;
    Failure failure_;
    QPointer<QWindow> window_;
    int mode_ = -1;
    quint64 generation_ = 0;
    bool busy_ = false;
    QTimer timer_;
    std::optional<DesktopWindows::WindowId> playerWindow_;
    std::optional<std::uint32_t> playerProcess_;
    QPoint offset_;
    std::optional<QPoint> lastOwn_;
    std::optional<QPoint> lastPlayer_;
    std::optional<QPoint> ownMoveFrom_;  // where ours was before our own move landed (device pixels)
    QThreadPool worker_;
};

}  // namespace kelvara
