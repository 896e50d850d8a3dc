// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/music_snapshot.h"

#include <QVariant>
#include <QVariantMap>

namespace kelvara {

// An MPRIS player's state as one GetAll of org.mpris.MediaPlayer2.Player returned it.
// An item that is missing, or that cannot be read as its type (a stream's duration given
// as text, say), takes the snapshot's default.
struct MprisPlayerState {
    MusicSnapshot snapshot;  // running, with the track's fields when there is a track
    QVariant trackObject;    // mpris:trackid exactly as the player gave it, for SetPosition

    bool hasTrack() const { return !snapshot.id.isEmpty(); }

    static MprisPlayerState fromProperties(const QVariantMap& properties);

    // 16 hex digits: the first 8 bytes of SHA-256 of the track's URL, or without a URL of
    // trackid LF title LF artist. Stable across player restarts for local files.
    static QString persistentId(const QString& url, const QString& trackId, const QString& title,
                                const QString& artist);
};

}  // namespace kelvara
