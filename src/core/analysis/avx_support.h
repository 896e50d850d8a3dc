// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvara {

// Whether this processor runs AVX, for the loops that have a path of their own for it.
bool hasAvx();

}  // namespace kelvara
