// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv_player.h"

#include "parent_death.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QThread>

#include <stdexcept>

namespace kelvara::testing {

namespace {

QVariant callResult(const QDBusConnection& connection, QDBusMessage message) {
    message.setAutoStartService(false);
    const QDBusMessage reply = connection.call(message, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
}

qint64 ownerProcessId(const QDBusConnection& connection, const QString& name) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    message << name;
    const QVariant pid = callResult(connection, message);
    return pid.isValid() ? pid.toLongLong() : -1;
}

const QString mprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

MpvPlayer::MpvPlayer(const PrivateBus& bus, const QStringList& files, bool paused) : connection_(bus.connection()) {
    // --no-config keeps the plugin from being loaded twice (it is also installed system-wide).
    QStringList arguments{QStringLiteral("--no-config"), QStringLiteral("--script=/usr/lib/mpv-mpris/mpris.so"),
                          QStringLiteral("--no-video"), QStringLiteral("--ao=null"), QStringLiteral("--idle=yes"),
                          QStringLiteral("--keep-open=yes"), QStringLiteral("--gapless-audio=no"),
                          QStringLiteral("--no-resume-playback"), QStringLiteral("--no-terminal")};
    if (paused) {
        arguments.append(QStringLiteral("--pause"));
    }
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithTestProcess(process_);
    process_.start(QStringLiteral("mpv"), arguments + files);
    if (!process_.waitForStarted()) {
        throw std::runtime_error("mpv did not start");
    }
    // About 0.4 s when idle; the limit is for a machine busy with builds and sanitized tests.
    const QDeadlineTimer deadline(30'000);
    while (!ready()) {
        if (deadline.hasExpired() || process_.state() != QProcess::Running) {
            stop();
            throw std::runtime_error("mpv did not get ready on the bus");
        }
        QThread::msleep(20);
    }
}

MpvPlayer::~MpvPlayer() {
    stop();
}

bool MpvPlayer::ready() {
    const QString shared = QStringLiteral("org.mpris.MediaPlayer2.mpv");
    for (const QString& name : {shared, shared + QStringLiteral(".instance") + QString::number(processId())}) {
        if (ownerProcessId(connection_, name) == processId()) {
            busName_ = name;
            // The first file is loaded once its trackid is "/0" and its length is known.
            const QVariantMap loaded = qdbus_cast<QVariantMap>(property(QStringLiteral("Metadata")).value<QDBusArgument>());
            return loaded.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path() == QLatin1String("/0") &&
                   loaded.contains(QStringLiteral("mpris:length"));
        }
    }
    return false;
}

QVariant MpvPlayer::property(const QString& name) const {
    QDBusMessage get = QDBusMessage::createMethodCall(busName_, mprisPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << playerInterface << name;
    return callResult(connection_, get).value<QDBusVariant>().variant();
}

QString MpvPlayer::status() const { return property(QStringLiteral("PlaybackStatus")).toString(); }

double MpvPlayer::position() const { return static_cast<double>(property(QStringLiteral("Position")).toLongLong()) / 1e6; }

void MpvPlayer::call(const QString& method) const {
    callResult(connection_, QDBusMessage::createMethodCall(busName_, mprisPath, playerInterface, method));
}

void MpvPlayer::setPosition(double seconds) const {
    QDBusMessage set = QDBusMessage::createMethodCall(busName_, mprisPath, playerInterface, QStringLiteral("SetPosition"));
    set << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/0"))) << static_cast<qlonglong>(seconds * 1e6);
    callResult(connection_, set);
}

void MpvPlayer::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

}  // namespace kelvara::testing
