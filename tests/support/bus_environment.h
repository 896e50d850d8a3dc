// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "private_bus.h"

namespace kelvara::testing {

// The program's state on a private bus, with the built kelvara as its bridge child and no
// system bus (no sleep notices to wait for).
inline AppStateEnvironment busEnvironment(const PrivateBus& bus) {
    AppStateEnvironment environment;
    environment.bridgeExecutable = qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/src/kelvara/kelvara");
    environment.sessionBus = bus.connection();
    environment.systemBus.reset();
    return environment;
}

}  // namespace kelvara::testing
