// SPDX-License-Identifier: GPL-3.0-or-later
#include "track/analysis_follower.h"

#include "analysis/analysis_job.h"
#include "i18n/l.h"
#include "main_thread.h"
#include "publish.h"
#include "storage/settings.h"

#include <QCoreApplication>
#include <QPointer>

namespace kelvara {

namespace {

constexpr double fileCheckInterval = 5;  // seconds

}  // namespace

AnalysisFollower::AnalysisFollower(std::shared_ptr<UptimeClock> clock, QObject* parent)
    : QObject(parent),
      clock_(std::move(clock)),
      analysisMessage_(L("Ожидание Music")),
      analysisGeneration_(QUuid::createUuid()),
      overrides_(Settings().fileOverrides()) {
    analysisPool_.setMaxThreadCount(2);
}

AnalysisFollower::~AnalysisFollower() {
    if (analysisTask_) {
        *analysisTask_ = true;
    }
}

void AnalysisFollower::publishWaveform(std::optional<Waveform> waveform) {
    publish(*this, waveform_, std::move(waveform), &AnalysisFollower::waveformChanged);
}

void AnalysisFollower::publishProgress(std::optional<double> progress) {
    publish(*this, analysisProgress_, progress, &AnalysisFollower::analysisProgressChanged);
}

void AnalysisFollower::publishMessage(const QString& message) {
    publish(*this, analysisMessage_, message, &AnalysisFollower::analysisMessageChanged);
}

QString AnalysisFollower::filePath(const MusicSnapshot& track) const {
    const auto chosen = overrides_.find(track.id);
    return chosen != overrides_.end() ? chosen->second : track.path;
}

void AnalysisFollower::follow(const MusicSnapshot& track) {
    track_ = track;
    followTrackFile();
}

void AnalysisFollower::resetTrack() {
    publishWaveform(std::nullopt);
    forgetFile();
}

void AnalysisFollower::forgetFile() { analysisKey_.clear(); }

// Which file belongs to the current track, and whether it needs a (new) analysis.
void AnalysisFollower::followTrackFile() {
    if (!track_.running || track_.id.isEmpty()) {
        stopAnalysis(track_.running ? L("Выберите трек в Music") : L("Music закрыта — откройте приложение «Музыка»"));
        return;
    }
    const QString path = filePath(track_);
    const QString key = track_.id + QLatin1Char('|') + path;
    if (key != analysisKey_) {
        analysisKey_ = key;
        beginAnalysis(path);
        return;
    }
    watchFile(path);
}

// At most every 5 s, and only while no analysis runs: a file that appeared, vanished or
// changed on disk is analysed again.
void AnalysisFollower::watchFile(const QString& path) {
    const double now = clock_->now();
    if (now - lastFileCheck_ <= fileCheckInterval || analysisProgress_) {
        return;
    }
    lastFileCheck_ = now;
    if (AnalysisJob::identityNow(path) != lastIdentity_) {
        beginAnalysis(path);
    }
}

void AnalysisFollower::stopAnalysis(const QString& message) {
    cancelRunning();
    analysisTask_.reset();
    analysisGeneration_ = QUuid::createUuid();
    publishWaveform(std::nullopt);
    publishProgress(std::nullopt);
    publishMessage(message);
}

void AnalysisFollower::cancelRunning() {
    if (analysisTask_) {
        *analysisTask_ = true;
    }
}

void AnalysisFollower::beginAnalysis(const QString& path) {
    cancelRunning();
    const QUuid generation = QUuid::createUuid();
    analysisGeneration_ = generation;
    publishWaveform(std::nullopt);
    publishProgress(0.0);
    publishMessage(L("Анализ аудио…"));
    lastFileCheck_ = clock_->now();

    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    analysisTask_ = cancelled;
    QPointer<AnalysisFollower> self(this);
    analysisPool_.start([self, job = AnalysisJob(cache_), path, generation, cancelled] {
        AnalysisJob::lowerThreadPriority();
        const auto progress = [self, generation](double fraction) {
            runOnMainThread([self, generation, fraction] {
                if (self) {
                    self->showAnalysisProgress(generation, fraction);
                }
            });
        };
        AnalysisOutcome outcome = job.run(path, [cancelled] { return cancelled->load(); }, progress);
        runOnMainThread([self, generation, outcome = std::move(outcome)] {
            if (self) {
                self->finishAnalysis(generation, outcome);
            }
        });
    });
}

// Progress counts only while its own analysis is still running: once the result is in
// (progress absent) a late report changes nothing.
void AnalysisFollower::showAnalysisProgress(const QUuid& generation, double fraction) {
    if (generation == analysisGeneration_ && analysisProgress_) {
        publishProgress(fraction);
    }
}

void AnalysisFollower::finishAnalysis(const QUuid& generation, const AnalysisOutcome& outcome) {
    if (generation != analysisGeneration_ || outcome.kind == AnalysisOutcome::Kind::cancelled) {
        return;
    }
    analysisTask_.reset();
    lastIdentity_ = outcome.identity;
    publishWaveform(outcome.waveform);
    publishProgress(std::nullopt);
    publishMessage(outcome.message());
}

void AnalysisFollower::chooseFile(const QString& trackID, const QString& path) {
    if (trackID.isEmpty() || path.isEmpty()) {
        return;
    }
    overrides_[trackID] = path;
    storeOverrides();
    // A track that changed while the user was choosing keeps its own analysis.
    if (track_.id == trackID) {
        forgetFile();
        followTrackFile();
    }
}

void AnalysisFollower::resetFile() {
    overrides_.erase(track_.id);
    storeOverrides();
    forgetFile();
    followTrackFile();
}

// The file in use names the manual grid too, so views look again.
void AnalysisFollower::storeOverrides() {
    Settings().setFileOverrides(overrides_);
    emit changed();
}

}  // namespace kelvara
