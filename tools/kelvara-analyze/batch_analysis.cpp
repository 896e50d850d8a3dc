// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch_analysis.h"

#include "i18n/l.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kelvara {

BatchAnalysis::BatchAnalysis(const AnalysisJob& job, QStringList files, int jobs)
    : job_(job),
      files_(std::move(files)),
      jobs_(std::clamp(jobs, 1, std::max<int>(1, static_cast<int>(files_.size())))),
      progress_(std::make_unique<std::atomic<double>[]>(static_cast<std::size_t>(files_.size()))),
      outcomes_(static_cast<std::size_t>(files_.size())) {}

void BatchAnalysis::run(const Report& report, ProgressBar& bar) {
    constexpr auto redrawEvery = std::chrono::milliseconds(100);
    std::vector<std::jthread> workers;
    for (int i = 0; i < jobs_; ++i) {
        workers.emplace_back([this] { work(); });
    }
    const auto total = static_cast<std::size_t>(files_.size());
    for (std::size_t reported = 0; reported < total;) {
        std::unique_lock lock(mutex_);
        outcomeReady_.wait_for(lock, redrawEvery, [&] { return outcomes_[reported].has_value(); });
        while (reported < total && outcomes_[reported]) {
            const FileOutcome outcome = std::move(*outcomes_[reported]);
            ++reported;
            lock.unlock();
            bar.clear();
            report(outcome);
            lock.lock();
        }
        lock.unlock();
        bar.show(L("файлов готово: {0} из {1}", static_cast<qint64>(reported), static_cast<qint64>(total)),
                 fractionDone());
    }
    bar.clear();
}

// While every worker has a file of its own, each keeps to one core: an analysis spread over
// two cores would only take the other workers' turns and add handovers between its threads.
// The last files, with cores to spare, spread again.
void BatchAnalysis::work() {
    const auto total = static_cast<std::size_t>(files_.size());
    for (std::size_t file = nextFile_++; file < total; file = nextFile_++) {
        const QString& path = files_[static_cast<qsizetype>(file)];
        const bool othersBusy = total - file >= static_cast<std::size_t>(jobs_);
        QElapsedTimer timer;
        timer.start();
        AnalysisOutcome analysis =
            job_.run(path, {}, [&](double fraction) { progress_[file] = fraction; },
                     jobs_ > 1 && othersBusy ? AnalysisThreads::one : AnalysisThreads::spread);
        progress_[file] = 1.0;
        FileOutcome outcome{path, std::move(analysis), static_cast<double>(timer.nsecsElapsed()) / 1e9};
        const std::lock_guard lock(mutex_);
        outcomes_[file] = std::move(outcome);
        outcomeReady_.notify_one();
    }
}

double BatchAnalysis::fractionDone() const {
    double sum = 0;
    for (qsizetype i = 0; i < files_.size(); ++i) {
        sum += progress_[static_cast<std::size_t>(i)];
    }
    return files_.isEmpty() ? 1.0 : sum / static_cast<double>(files_.size());
}

}  // namespace kelvara
