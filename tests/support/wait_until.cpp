// SPDX-License-Identifier: GPL-3.0-or-later
#include "wait_until.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace kelvara::testing {

double slowdown() {
#if defined(__SANITIZE_ADDRESS__)
    return 3;
#else
    return 1;
#endif
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
    const QDeadlineTimer deadline(static_cast<qint64>(seconds * slowdown() * 1000));
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        // Sleeps in the loop rather than spinning, so waiting costs no processor time.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace kelvara::testing
