// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/avx_support.h"

namespace kelvara {

bool hasAvx() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool available = __builtin_cpu_supports("avx");
    return available;
#else
    return false;
#endif
}

}  // namespace kelvara
