// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace kelvara {

// The numbers a failed reply of the player link carries in `errorCode`. The scripted
// player's own error numbers pass through unchanged, so a reply's number need not be one
// of these.
enum class LinkErrorCode : qint64 {
    unknown = -1,                // the player gave no number
    invalidCommand = 0,          // a command the link refuses to send
    unreadableRequest = 4864,    // the request line is not a request record
    timedOut = -1712,            // the player did not answer in time
    automationDenied = -1743,    // the user refused control of the player
    trackChanged = -10001,       // the current track is not the one meant
    playerUnavailable = -10002,  // no player, or no current track
};

constexpr qint64 number(LinkErrorCode code) { return static_cast<qint64>(code); }

}  // namespace kelvara
