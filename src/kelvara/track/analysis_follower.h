// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/music_snapshot.h"
#include "models/waveform.h"
#include "storage/file_identity.h"
#include "storage/waveform_cache.h"
#include "uptime_clock.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUuid>

#include <atomic>
#include <map>
#include <memory>
#include <optional>

namespace kelvara {

struct AnalysisOutcome;

// The analysis of the current track's file: which file belongs to the track (the player's,
// or one the user chose), its analysis on a worker thread, the published waveform, progress
// and status line, and a look at the file every 5 s while idle. It learns of the track only
// from its owner: resetTrack() when the track changed, follow() after every reply.
class AnalysisFollower : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<kelvara::Waveform> waveform READ waveform NOTIFY waveformChanged)
    Q_PROPERTY(QString analysisMessage READ analysisMessage NOTIFY analysisMessageChanged)
    Q_PROPERTY(std::optional<double> analysisProgress READ analysisProgress NOTIFY analysisProgressChanged)

public:
    explicit AnalysisFollower(std::shared_ptr<UptimeClock> clock, QObject* parent = nullptr);
    ~AnalysisFollower() override;

    // Published fields; all change on the main thread only.
    const std::optional<Waveform>& waveform() const { return waveform_; }
    const QString& analysisMessage() const { return analysisMessage_; }
    std::optional<double> analysisProgress() const { return analysisProgress_; }  // absent while none runs

    // The file that belongs to `track`: the one chosen for it, else the player's.
    QString filePath(const MusicSnapshot& track) const;

    // The player's state as last applied: starts the analysis of a new file, else looks
    // whether the file changed on disk.
    void follow(const MusicSnapshot& track);
    // The track changed: its waveform goes, and its file counts as not analysed.
    void resetTrack();
    // The next follow() analyses the file afresh.
    void forgetFile();

    // The user's file for `trackID` (chosen for the track current when the dialog opened),
    // remembered across launches; and forgetting it for the current track.
    void chooseFile(const QString& trackID, const QString& path);
    void resetFile();

signals:
    void changed();
    void waveformChanged();
    void analysisMessageChanged();
    void analysisProgressChanged();

private:
    void followTrackFile();
    void watchFile(const QString& path);
    void stopAnalysis(const QString& message);
    void beginAnalysis(const QString& path);
    void cancelRunning();
    void showAnalysisProgress(const QUuid& generation, double fraction);
    void finishAnalysis(const QUuid& generation, const AnalysisOutcome& outcome);
    void storeOverrides();
    void publishWaveform(std::optional<Waveform> waveform);
    void publishProgress(std::optional<double> progress);
    void publishMessage(const QString& message);

    // Main thread.
    std::shared_ptr<UptimeClock> clock_;
    MusicSnapshot track_;  // as last followed
    std::optional<Waveform> waveform_;
    QString analysisMessage_;
    std::optional<double> analysisProgress_;
    QUuid analysisGeneration_;  // results of any other analysis are dropped
    QString analysisKey_;       // track ID, "|", path of the file last analysed; empty: none
    std::optional<FileIdentity> lastIdentity_;
    double lastFileCheck_ = 0;
    std::map<QString, QString> overrides_;  // track ID → chosen file
    WaveformCache cache_;                   // copied into each analysis

    // Shared with the running analysis: its cancel flag.
    std::shared_ptr<std::atomic<bool>> analysisTask_;

    // The analysis workers. Last member: destroyed first, waiting for a cancelled analysis to stop.
    QThreadPool analysisPool_;
};

}  // namespace kelvara
