// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/bridge_action.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kelvara {

// One request from the window to the bridge child. Commands name the track they are meant
// for; the child carries a command out only while that track is still the current one.
struct BridgeRequest {
    BridgeAction action = BridgeAction::snapshot;
    QString trackID;      // empty for a snapshot
    double position = 0;  // seconds, for the actions that take one

    bool operator==(const BridgeRequest&) const = default;

    static BridgeRequest snapshot() { return {}; }

    // One of the five actions that change the player; a snapshot only reads the state.
    bool isCommand() const { return action != BridgeAction::snapshot; }

    // Keys "action", "trackID", "position" in this order. Throws WaveformError when the
    // position is not finite.
    QByteArray toJson() const;
    // All three keys are required with their JSON types; throws WaveformError. An action
    // name the link does not know reads as a snapshot.
    static BridgeRequest fromJson(QByteArrayView json);
};

}  // namespace kelvara
