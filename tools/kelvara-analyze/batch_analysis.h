// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_job.h"
#include "progress_bar.h"

#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kelvara {

// The analysis of one file of the batch, and how long it took.
struct FileOutcome {
    QString path;
    AnalysisOutcome analysis;
    double seconds = 0;
};

// Analyses a list of files on several threads at once. Results come back in the order of
// the list, on the thread that runs the batch, which also keeps one progress bar for the
// whole batch.
class BatchAnalysis {
public:
    using Report = std::function<void(const FileOutcome&)>;

    BatchAnalysis(const AnalysisJob& job, QStringList files, int jobs);

    void run(const Report& report, ProgressBar& bar);

private:
    void work();
    double fractionDone() const;

    const AnalysisJob& job_;
    const QStringList files_;
    const int jobs_;
    // Shared by the workers and the reporting thread.
    std::atomic<std::size_t> nextFile_ = 0;
    std::unique_ptr<std::atomic<double>[]> progress_;  // per file, 0…1
    std::mutex mutex_;
    std::condition_variable outcomeReady_;
    std::vector<std::optional<FileOutcome>> outcomes_;  // guarded by mutex_
};

}  // namespace kelvara
