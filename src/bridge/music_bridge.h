// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player_backend.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace kelvara {

// The --music-bridge child: answers every request line with exactly one snapshot line.
namespace MusicBridge {

// Serves standard input to standard output with the platform's back-end until the input
// ends.
void serve();

// Serves `input` to `output` with `backend` until the input ends.
void serve(PlayerBackend& backend, int input, int output);

// The reply line (ending in a line feed) to one request line, whatever the line holds.
QByteArray answer(PlayerBackend& backend, QByteArrayView line);

// osascript where it exists (macOS), else the MPRIS player on the session bus.
std::unique_ptr<PlayerBackend> platformBackend();

}  // namespace MusicBridge

}  // namespace kelvara
