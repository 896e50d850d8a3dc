// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace kelvara::testing {

// How many times longer than an idle optimised build anything may take here: the sanitizers
// slow our code several times over, and CI may share the machine with another build.
double slowdown();

// Runs the event loop until `done` holds or `seconds` × slowdown() of real time pass; true
// when it held. The limit only decides how long a failing test takes, so it is generous.
bool waitUntil(const std::function<bool()>& done, double seconds = 10);

}  // namespace kelvara::testing
