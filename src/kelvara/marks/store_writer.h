// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <mutex>
#include <optional>

namespace kelvara {

// Writes a store's whole content off the main thread, one write at a time and in order. A
// write queued while another runs replaces the one still waiting, since only the latest
// content matters. The destructor waits for the writes under way and waiting, so an edit
// made just before quitting reaches the disk.
class StoreWriter : public QObject {
    Q_OBJECT

public:
    // Runs on the worker; throws std::exception when the write failed.
    using Write = std::function<void()>;
    // Runs on the owner's thread after each write: the failure's text, or none.
    using Report = std::function<void(const std::optional<QString>& failure)>;

    explicit StoreWriter(Report report, QObject* parent = nullptr);
    ~StoreWriter() override;

    void enqueue(Write write);

private:
    void drain();
    std::optional<Write> takeWaiting();

    // Owner's thread.
    Report report_;

    // Shared with the worker, under mutex_.
    std::mutex mutex_;
    std::optional<Write> waiting_;
    bool draining_ = false;

    // One worker, so writes never overtake each other.
    QThreadPool worker_;
};

}  // namespace kelvara
