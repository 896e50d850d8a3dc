// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QMetaObject>

#include <utility>

namespace kelvara {

// Work finished on another thread comes back through the application's event queue, in the
// order it was posted.
template <typename Function>
void runOnMainThread(Function function) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(function), Qt::QueuedConnection);
}

}  // namespace kelvara
