// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// How many cores the reading of one file may keep busy: `spread` decodes on a thread of its
// own (or reads PCM as two halves at once), `one` decodes, filters and sums on the calling
// thread, for callers that already run an analysis per core. The tempo analysis that follows,
// a few milliseconds, shares its loops with a second thread either way.
enum class AnalysisThreads { spread, one };

}  // namespace kelvara
