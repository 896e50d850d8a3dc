// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks/store_writer.h"

#include <exception>

namespace kelvara {

StoreWriter::StoreWriter(Report report, QObject* parent) : QObject(parent), report_(std::move(report)) {
    worker_.setMaxThreadCount(1);
}

StoreWriter::~StoreWriter() { worker_.waitForDone(); }

void StoreWriter::enqueue(Write write) {
    const std::lock_guard lock(mutex_);
    waiting_ = std::move(write);
    if (!draining_) {
        draining_ = true;
        worker_.start([this] { drain(); });
    }
}

// On the worker, until nothing waits. Reports go through this object's event queue, so none
// arrives once it is destroyed.
void StoreWriter::drain() {
    while (std::optional<Write> write = takeWaiting()) {
        std::optional<QString> failure;
        try {
            (*write)();
        } catch (const std::exception& error) {
            failure = QString::fromStdString(error.what());
        }
        QMetaObject::invokeMethod(this, [this, failure] { report_(failure); }, Qt::QueuedConnection);
    }
}

std::optional<StoreWriter::Write> StoreWriter::takeWaiting() {
    const std::lock_guard lock(mutex_);
    std::optional<Write> write = std::exchange(waiting_, std::nullopt);
    draining_ = write.has_value();
    return write;
}

}  // namespace kelvara
