// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cancellation.h"

#include <cstddef>
#include <functional>

namespace kelvara {

// Work over the indices [first, end), asking `cancelled` now and then.
using RangeWork = std::function<void(std::size_t first, std::size_t end, const CancelCheck& cancelled)>;

// Runs `work` over [0, count) in two halves at once: the upper one on a thread of its own,
// the lower one on the calling thread. Only the calling thread is given `cancelled` (the
// other half is short and runs to its end), so the test is still asked on the caller's
// thread alone. Every index must come out the same whichever half computes it. Returns once
// both halves are done, rethrowing what either threw.
void acrossTwoThreads(std::size_t count, const RangeWork& work, const CancelCheck& cancelled);

}  // namespace kelvara
