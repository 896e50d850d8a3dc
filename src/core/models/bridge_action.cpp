// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/bridge_action.h"

#include "models/json_names.h"

namespace kelvara {

namespace {

constexpr JsonNames<BridgeAction, 6> names{{{
                                               {BridgeAction::snapshot, "snapshot"},
                                               {BridgeAction::seek, "seek"},
                                               {BridgeAction::toggle, "toggle"},
                                               {BridgeAction::pause, "pause"},
                                               {BridgeAction::resumeAt, "resumeAt"},
                                               {BridgeAction::pauseAt, "pauseAt"},
                                           }},
                                           BridgeAction::snapshot};

}  // namespace

QString jsonName(BridgeAction action) { return names.nameOf(action); }

BridgeAction bridgeActionNamed(QStringView name) { return names.valueOf(name); }

}  // namespace kelvara
