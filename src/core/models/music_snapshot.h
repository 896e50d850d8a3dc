// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/link_error_code.h"
#include "models/playback_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kelvara {

// The music player's state as the bridge read it. The all-default value stands for a player
// that is not running. Failures of the player link come as a snapshot with `error` set.
struct MusicSnapshot {
    bool running = false;
    QString id;  // persistent ID of the current track (hex digits); empty without a track
    QString title;
    QString artist;
    QString album;
    QString path;  // the track's local file; empty when it has none
    double duration = 0;  // seconds
    double position = 0;  // seconds, when the state was read
    PlaybackState state = PlaybackState::stopped;
    double volume = 100;  // 0…100
    bool muted = false;
    std::optional<QString> error;
    std::optional<qint64> errorCode;

    bool playing() const { return state == PlaybackState::playing; }
    bool failedWith(LinkErrorCode code) const { return errorCode == number(code); }

    bool operator==(const MusicSnapshot&) const = default;

    // A default snapshot carrying only the failure.
    static MusicSnapshot failure(const QString& error, std::optional<qint64> errorCode = std::nullopt);
    static MusicSnapshot failure(const QString& error, LinkErrorCode code) { return failure(error, number(code)); }

    // One JSON object, keys in field order; `error` and `errorCode` only when present.
    // Throws WaveformError when a number is not finite.
    QByteArray toJson() const;
    // The eleven other keys are required with their JSON types; throws WaveformError.
    static MusicSnapshot fromJson(QByteArrayView json);
};

}  // namespace kelvara
