// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// How many cores one analysis may keep busy: `spread` decodes on a thread of its own, `one`
// does everything on the calling thread, for callers that already run an analysis per core.
enum class AnalysisThreads { spread, one };

}  // namespace kelvara
