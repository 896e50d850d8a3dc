// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelvara {

// The vectors of the analysis's hand-written loops (GCC and Clang vector extensions): four
// lanes fill an SSE or NEON register, eight an AVX one.
using Float4 = float __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));
using Double2 = double __attribute__((vector_size(16)));
using Double4 = double __attribute__((vector_size(32)));
using Lanes4 = std::int32_t __attribute__((vector_size(16)));
using Lanes8 = std::int32_t __attribute__((vector_size(32)));

// The integer vector of a float vector's shape: what its comparisons give, and its bits.
template <typename Vector>
struct IntegerLanes;
template <>
struct IntegerLanes<Float4> {
    using Type = Lanes4;
};
template <>
struct IntegerLanes<Float8> {
    using Type = Lanes8;
};
template <typename Vector>
using LanesOf = typename IntegerLanes<Vector>::Type;

}  // namespace kelvara
