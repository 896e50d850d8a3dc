// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

class PlayerDirectory;

// Raises the followed player's window; with no player on the bus, starts the desktop's
// default audio player. Nothing waits for either.
void showPlayer(PlayerDirectory& directory);

}  // namespace kelvara
