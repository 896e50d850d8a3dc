// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/bridge_request.h"
#include "models/music_snapshot.h"

namespace kelvara {

// What the bridge child needs from the music player: read its state, carry out a command.
// Both throw BridgeError on failure.
class PlayerBackend {
public:
    virtual ~PlayerBackend() = default;

    // Called once before each request is carried out, so that a command and the status read
    // that answers it address the same player. Does not throw.
    virtual void beginRequest() {}

    // The player's state; the default snapshot when no player runs.
    virtual MusicSnapshot readStatus() = 0;

    // Carries out a checked command, but only while request.trackID is still the current
    // track: -10002 without a player or a track, -10001 when another track is current.
    virtual void runCommand(const BridgeRequest& request) = 0;
};

}  // namespace kelvara
