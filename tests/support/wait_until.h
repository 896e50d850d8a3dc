// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace kelvara::testing {

// Runs the event loop until `done` holds or `seconds` of real time pass; true when it held.
bool waitUntil(const std::function<bool()>& done, double seconds = 10);

}  // namespace kelvara::testing
