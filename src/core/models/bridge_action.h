// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace kelvara {

// What a request asks of the bridge child. Every action but `snapshot` changes the player.
enum class BridgeAction {
    snapshot,  // read the state only
    seek,      // set the position
    toggle,    // play if paused, else pause
    pause,
    resumeAt,  // set the position, then play
    pauseAt,   // pause, then set the position
};

// The action's name in a request record.
QString jsonName(BridgeAction action);
// The action of that name; a name the bridge does not know reads as `snapshot`, so such a
// request only reads the state.
BridgeAction bridgeActionNamed(QStringView name);

}  // namespace kelvara
