// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/bridge_request.h"

#include <QString>

namespace kelvara {

// The AppleScript texts run against the Music app where osascript exists.
namespace MusicScripts {

// Answers a list of 1 item (not running), 9 items (no current track) or 11 items.
const QString& status();

// The command script for a checked request: it fails with -10002 when Music is closed or
// has no track and with -10001 when request.trackID is no longer the current track.
QString command(const BridgeRequest& request);

// `seconds` raised to 0 if negative, as the shortest decimal that reads back as the same
// double, always with a fractional part ("0.0", "93.25") and never locale-dependent.
QString scriptNumber(double seconds);

}  // namespace MusicScripts

}  // namespace kelvara
