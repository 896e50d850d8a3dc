// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/music_snapshot.h"

namespace kelvara {

// Audio the program plays itself in place of the followed player (the instrumental). While it
// is engaged, the link's position, seeks and play/pause act on it, and every reply of the
// player is first shown to it: the player may have taken over.
class LocalTransport {
public:
    virtual ~LocalTransport() = default;

    virtual bool engaged() const = 0;
    virtual double position() const = 0;
    virtual bool playing() const = 0;
    virtual void seek(double seconds) = 0;
    virtual void togglePlayback() = 0;

    // Before `next` is stored; `trackChanged` as the link judged it.
    virtual void playerReplied(const MusicSnapshot& next, bool trackChanged) = 0;
    // After that, while still engaged: the reply as it is shown, with the local position and state.
    virtual void overlay(MusicSnapshot& shown) = 0;
};

}  // namespace kelvara
