// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "stand_in_player.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QWindow>

namespace kelvara {

// Commands on standard input, one per line, each answered with one line on standard output:
//   track N      make track N (from 0) current at position 0; N = count: no current track
//   status S     Playing, Paused or Stopped
//   volume V     MPRIS volume (1.0 = full; values outside 0…1 are kept as given)
//   block MS     answers "blocking", then stops answering anything for MS milliseconds
//   state        {"status", "track", "position" (s), "volume", "calls"} as JSON
//   move X Y     asks the window manager to put the player's window frame at X, Y
//   fullscreen   shows the player's window full screen
//   where        the window frame's top-left as "X Y", as the window manager last reported it
//   quit         ends the player (so does the end of input)
class ControlInput : public QObject {
    Q_OBJECT
public:
    // `window`: the player's window, when it shows one.
    ControlInput(StandInPlayer& player, QWindow* window);

private:
    void readAvailable();
    QByteArray run(const QByteArray& command);

    StandInPlayer& player_;
    QPointer<QWindow> window_;
    QSocketNotifier notifier_;
    QByteArray buffer_;
};

}  // namespace kelvara
