// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "storage/plist_value.h"

#include <optional>

namespace kelvara {

// The keyed form of a Waveform in the cache files: "version" (integer), "duration" (real),
// "peaks", "rms", "low", "mid", "high" (arrays of reals) and "beatGrid" ({"bpm", "origin",
// "confidence"}, left out when there is no grid), written in that order.
class WaveformPlist {
public:
    static PlistValue encode(const Waveform& waveform);

    // None when a key other than "beatGrid" is missing or any value has the wrong type; no
    // defaults are filled in. Does not check valid(); the cache does.
    static std::optional<Waveform> decode(const PlistValue& value);
};

}  // namespace kelvara
