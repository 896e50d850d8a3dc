// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace kelvara {

// kelvara-analyze --instrumental FILE…: prepares each file's instrumental in the cache the
// window uses, showing the worker's progress, and prints one line per file. Returns 1 when
// any file failed, else 0.
int renderInstrumentals(const QStringList& files);

}  // namespace kelvara
