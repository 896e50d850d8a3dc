// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/player_window_attachment.h"

#include "i18n/l.h"

#include <QDBusMessage>
#include <QLineF>

namespace kelvara {

namespace {

// Positions are the desktop's device pixels; the distance that counts is in the window's own
// (logical) pixels, so that on a scaled screen a device pixel of rounding is no movement.
bool movedBeyond(QPoint from, QPoint to, qreal devicePixelRatio) {
    return QLineF(from, to).length() / devicePixelRatio > PlayerWindowAttachment::ignoredDistance;
}

QString noWindowText() { return L("Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова."); }
QString playerClosedText() { return L("Music закрыта — связь окон отключена."); }

}  // namespace

// What a tick hands the worker, captured on the main thread.
struct PlayerWindowAttachment::Step {
    quint64 generation;
    QString connection;
    std::optional<DesktopWindows::WindowId> window;
    std::optional<std::uint32_t> process;
    DesktopWindows::WindowId ownWindow;
    qreal devicePixelRatio;
    std::optional<QPoint> lastOwn;
    std::optional<QPoint> ownMoveFrom;
    QPoint offset;
};

struct PlayerWindowAttachment::Result {
    quint64 generation;
    std::optional<QPoint> own;  // none when our own window could not be read
    bool ownMoveLanded;
    std::optional<DesktopWindows::WindowId> window;
    std::optional<std::uint32_t> process;
    std::optional<QPoint> player;
    std::optional<QString> error;
};

PlayerWindowAttachment::PlayerWindowAttachment(std::shared_ptr<DesktopWindows> desktop, QDBusConnection bus,
                                               PlayerConnection player, QObject* parent)
    : QObject(parent), desktop_(std::move(desktop)), bus_(std::move(bus)), player_(std::move(player)) {
    worker_.setMaxThreadCount(1);
    timer_.setInterval(1000 / ticksPerSecond);
    connect(&timer_, &QTimer::timeout, this, &PlayerWindowAttachment::tick);
}

PlayerWindowAttachment::~PlayerWindowAttachment() {
    timer_.stop();
    worker_.waitForDone();
}

void PlayerWindowAttachment::configure(QWindow* window, int mode, Failure failure) {
    if (mode == mode_ && window == window_) {
        return;
    }
    timer_.stop();
    ++generation_;
    busy_ = false;
    window_ = window;
    mode_ = mode;
    failure_ = std::move(failure);
    playerWindow_.reset();
    playerProcess_.reset();
    lastOwn_.reset();
    lastPlayer_.reset();
    ownMoveFrom_.reset();
    if (mode == 2) {
        timer_.start();
        tick();
    }
}

void PlayerWindowAttachment::tick() {
    if (mode_ != 2 || busy_ || !window_) {
        return;
    }
    const std::optional<QString> connection = player_();
    if (!connection) {
        fail(playerClosedText());
        return;
    }
    if (!desktop_->reachable()) {
        fail(L("Нет разрешения Универсального доступа для связи с Music."));
        return;
    }
    busy_ = true;
    const Step step{generation_,   *connection, playerWindow_, playerProcess_, static_cast<DesktopWindows::WindowId>(window_->winId()),
                    window_->devicePixelRatio(), lastOwn_,      ownMoveFrom_,   offset_};
    worker_.start([this, step] {
        Result result = run(step);
        QMetaObject::invokeMethod(this, [this, result] { accept(result); }, Qt::QueuedConnection);
    });
}

// Worker thread: touches only the desktop and the bus.
PlayerWindowAttachment::Result PlayerWindowAttachment::run(const Step& step) {
    Result result{step.generation, desktop_->topLeft(step.ownWindow), true, step.window, step.process, std::nullopt, std::nullopt};
    if (!result.own) {
        return result;
    }
    // Until our own last move has landed, the window still reports where it was: not a drag.
    result.ownMoveLanded = !step.ownMoveFrom || movedBeyond(*result.own, *step.ownMoveFrom, step.devicePixelRatio);
    if (!result.ownMoveLanded && step.lastOwn) {
        result.own = step.lastOwn;
    }
    if (!result.process) {
        result.process = processOf(step.connection);
    }
    if (!result.window && result.process) {
        result.window = desktop_->findStandardWindow(*result.process);
    }
    if (!result.window) {
        return result;
    }
    result.player = desktop_->topLeft(*result.window);
    if (step.lastOwn && result.player && movedBeyond(*step.lastOwn, *result.own, step.devicePixelRatio)) {
        const QPoint target = *result.own - step.offset;
        if (desktop_->moveTo(*result.window, target)) {
            // The window manager moves it after this returns; the next tick reads where it went.
            result.player = target;
        } else {
            result.error = L("Music не разрешает перемещать это окно. Выйдите из полноэкранного режима.");
        }
    }
    return result;
}

std::optional<std::uint32_t> PlayerWindowAttachment::processOf(const QString& connection) const {
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                       QStringLiteral("org.freedesktop.DBus"),
                                                       QStringLiteral("GetConnectionUnixProcessID"));
    call << connection;
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 200);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return reply.arguments().constFirst().toUInt();
}

void PlayerWindowAttachment::accept(const Result& result) {
    if (result.generation != generation_ || mode_ != 2 || !window_) {
        return;
    }
    busy_ = false;
    if (!result.own) {
        return;  // our window is between states (being mapped again): the next tick reads it
    }
    if (!result.window || !result.player) {
        // A player that quits takes its window along; say which of the two happened.
        fail(player_() ? noWindowText() : playerClosedText());
        return;
    }
    if (result.error) {
        fail(*result.error);
        return;
    }
    playerWindow_ = result.window;
    playerProcess_ = result.process;
    const QPoint player = *result.player;
    QPoint own = *result.own;
    const qreal ratio = window_->devicePixelRatio();
    if (result.ownMoveLanded) {
        ownMoveFrom_.reset();
    }
    if (!lastPlayer_) {
        offset_ = own - player;
    } else if (movedBeyond(player + offset_, own, ratio)) {
        ownMoveFrom_ = own;
        own = player + offset_;
        // Qt places windows in its own pixels; the desktop counts device pixels.
        window_->setFramePosition((QPointF(own) / ratio).toPoint());
    }
    lastOwn_ = own;
    lastPlayer_ = player;
}

void PlayerWindowAttachment::fail(const QString& text) {
    timer_.stop();
    mode_ = 1;
    ++generation_;
    busy_ = false;
    if (failure_) {
        failure_(text);
    }
}

}  // namespace kelvara
