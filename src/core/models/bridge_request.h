// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kelvara {

// One request from the window to the bridge child. Commands name the track they are meant
// for; the child carries a command out only while that track is still the current one.
struct BridgeRequest {
    static constexpr const char* snapshotAction = "snapshot";  // read the state only
    static constexpr const char* seekAction = "seek";          // set the position
    static constexpr const char* toggleAction = "toggle";      // play if paused, else pause
    static constexpr const char* pauseAction = "pause";
    static constexpr const char* resumeAtAction = "resumeAt";  // set the position, then play
    static constexpr const char* pauseAtAction = "pauseAt";    // pause, then set the position

    QString action;
    QString trackID;      // empty for "snapshot"
    double position = 0;  // seconds, for the actions that take one

    bool operator==(const BridgeRequest&) const = default;

    static BridgeRequest snapshot() { return {QString::fromLatin1(snapshotAction), {}, 0}; }

    // One of the five actions that change the player; anything else only reads the state.
    bool isCommand() const;

    // Keys "action", "trackID", "position" in this order. Throws WaveformError when the
    // position is not finite.
    QByteArray toJson() const;
    // All three keys are required with their JSON types; throws WaveformError.
    static BridgeRequest fromJson(QByteArrayView json);
};

}  // namespace kelvara
