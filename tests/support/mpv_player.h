// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "private_bus.h"

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelvara::testing {

// A real mpv with the mpv-mpris plugin on a private bus: no video, a null audio output
// (which still advances in real time), playing `files` as one playlist. The constructor
// returns once mpv owns its MPRIS name and has its first file loaded (trackid "/0", length
// known).
class MpvPlayer {
public:
    MpvPlayer(const PrivateBus& bus, const QStringList& files, bool paused = true);
    ~MpvPlayer();
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    // org.mpris.MediaPlayer2.mpv, or …mpv.instance<PID> when another mpv has that name.
    const QString& busName() const { return busName_; }
    qint64 processId() const { return process_.processId(); }

    // What mpv says over MPRIS, asked on the test's own connection: "Playing", "Paused"…
    QString status() const;
    double position() const;  // seconds
    // Player methods without arguments ("Play", "Pause"), and SetPosition on the first file.
    void call(const QString& method) const;
    void setPosition(double seconds) const;

    void stop();

private:
    bool ready();
    QVariant property(const QString& name) const;

    QProcess process_;
    QDBusConnection connection_;
    QString busName_;
};

}  // namespace kelvara::testing
