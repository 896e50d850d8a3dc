// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <mutex>

class QNetworkReply;

namespace kelvara::morvik {

// One download of the runtime archive into a file, over HTTP(S) with redirects followed. Only a
// final answer of status 200 counts. Made and run on the installing thread; cancel() from any.
class RuntimeDownload {
public:
    using Progress = std::function<void(qint64 received, qint64 total)>;  // total ≤ 0: unknown

    static constexpr std::chrono::minutes wholeLimit{30};

    RuntimeDownload(QUrl url, QString destination, std::chrono::milliseconds inactivityLimit, Progress progress);
    RuntimeDownload(const RuntimeDownload&) = delete;
    RuntimeDownload& operator=(const RuntimeDownload&) = delete;

    // Blocks in an event loop of its own until the file is complete. Throws CancellationError
    // once cancelled, InstallFailure with the download text for an answer other than 200 and
    // with the platform's text for network errors, time-outs and file errors.
    void run();

    // Stops the transfer; before run() it keeps it from starting.
    void cancel();

private:
    // The reply's outcome as an exception, or nothing when the file is complete.
    void checkOutcome(QNetworkReply& reply, const QString& writeError) const;

    const QUrl url_;
    const QString destination_;
    const std::chrono::milliseconds inactivityLimit_;
    const Progress progress_;

    // Shared with cancel(), guarded by lock_.
    std::mutex lock_;
    QNetworkReply* reply_ = nullptr;  // while the transfer runs
    bool cancelled_ = false;
};

}  // namespace kelvara::morvik
