// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>

namespace kelvara {

// Long computations poll a cancellation test at fixed points and throw this when it is
// true. It is never shown to the user.
class CancellationError : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

using CancelCheck = std::function<bool()>;

inline void throwIfCancelled(const CancelCheck& cancelled) {
    if (cancelled && cancelled()) {
        throw CancellationError();
    }
}

}  // namespace kelvara
