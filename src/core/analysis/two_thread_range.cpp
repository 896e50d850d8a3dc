// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/two_thread_range.h"

#include <exception>
#include <thread>

namespace kelvara {

void acrossTwoThreads(std::size_t count, const RangeWork& work, const CancelCheck& cancelled) {
    const std::size_t half = count / 2;
    std::exception_ptr upperError;
    std::thread upper([&] {
        try {
            work(half, count, {});
        } catch (...) {
            upperError = std::current_exception();
        }
    });
    try {
        work(0, half, cancelled);
    } catch (...) {
        upper.join();
        throw;
    }
    upper.join();
    if (upperError) {
        std::rethrow_exception(upperError);
    }
}

}  // namespace kelvara
