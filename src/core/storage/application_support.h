// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// Path of a stored file of ours in the user's data folder:
// $XDG_DATA_HOME (or ~/.local/share) + "/local.kelvara.waveform/" + name.
QString applicationSupportFile(const QString& name);

}  // namespace kelvara
