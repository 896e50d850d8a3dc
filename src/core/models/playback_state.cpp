// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/playback_state.h"

#include "models/json_names.h"

namespace kelvara {

namespace {

constexpr JsonNames<PlaybackState, 5> names{{{
                                                {PlaybackState::stopped, "stopped"},
                                                {PlaybackState::playing, "playing"},
                                                {PlaybackState::paused, "paused"},
                                                {PlaybackState::fastForwarding, "fast forwarding"},
                                                {PlaybackState::rewinding, "rewinding"},
                                            }},
                                            PlaybackState::stopped};

}  // namespace

QString jsonName(PlaybackState state) { return names.nameOf(state); }

PlaybackState playbackStateNamed(QStringView name) { return names.valueOf(name); }

}  // namespace kelvara
