// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <concepts>
#include <utility>

namespace kelvara {

// Sets a published field of `owner` and announces a real change: the field's own signal, then
// the owner's changed(), which views follow to redraw.
template <typename Owner, typename T>
void publish(Owner& owner, T& field, T value, void (Owner::*signal)()) {
    if constexpr (std::equality_comparable<T>) {
        if (field == value) {
            return;
        }
    }
    field = std::move(value);
    emit(owner.*signal)();
    emit owner.changed();
}

}  // namespace kelvara
