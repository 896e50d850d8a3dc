// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace kelvara {

// The player's state as a snapshot reports it. MPRIS players know the first three; the
// scripted player may also report winding.
enum class PlaybackState { stopped, playing, paused, fastForwarding, rewinding };

// The state's name in a snapshot record ("playing", "fast forwarding" …).
QString jsonName(PlaybackState state);
// The state of that exact name; any other text reads as `stopped`.
PlaybackState playbackStateNamed(QStringView name);

}  // namespace kelvara
