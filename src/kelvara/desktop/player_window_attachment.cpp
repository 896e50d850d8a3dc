// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/player_window_attachment.h"

#include "i18n/l.h"

#include <QDBusMessage>
#include <QLineF>

namespace kelvara {

namespace {

bool movedBeyond(QPoint from, QPoint to) { return QLineF(from, to).length() > PlayerWindowAttachment::ignoredDistance; }

QString noWindowText() { return L("Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова."); }
QString playerClosedText() { return L("Music закрыта — связь окон отключена."); }

}  // namespace

// What a tick hands the worker, captured on the main thread.
struct PlayerWindowAttachment::Step {
    quint64 generation;
    QString connection;
    std::optional<DesktopWindows::WindowId> window;
    std::optional<std::uint32_t> process;
    QPoint own;
    std::optional<QPoint> lastOwn;
    QPoint offset;
};

struct PlayerWindowAttachment::Result {
    quint64 generation;
    QPoint own;
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
    QPoint own = window_->framePosition();
    // Until our own last move has landed, the window still reports where it was: not a drag.
    if (ownMoveFrom_ && lastOwn_ && !movedBeyond(own, *ownMoveFrom_)) {
        own = *lastOwn_;
    } else {
        ownMoveFrom_.reset();
    }
    busy_ = true;
    const Step step{generation_, *connection, playerWindow_, playerProcess_, own, lastOwn_, offset_};
    worker_.start([this, step] {
        Result result = run(step);
        QMetaObject::invokeMethod(this, [this, result] { accept(result); }, Qt::QueuedConnection);
    });
}

// Worker thread: touches only the desktop and the bus.
PlayerWindowAttachment::Result PlayerWindowAttachment::run(const Step& step) {
    Result result{step.generation, step.own, step.window, step.process, std::nullopt, std::nullopt};
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
    if (step.lastOwn && result.player && movedBeyond(*step.lastOwn, step.own)) {
        const QPoint target = step.own - step.offset;
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
    const QPoint now = window_->framePosition();
    QPoint own = result.own;
    if (!lastPlayer_) {
        own = now;
        offset_ = now - player;
    } else if (!movedBeyond(now, result.own) && movedBeyond(player + offset_, result.own)) {
        ownMoveFrom_ = now;
        own = player + offset_;
        window_->setFramePosition(own);
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
