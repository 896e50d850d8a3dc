// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/cue_point.h"
#include "models/loop_region.h"
#include "models/music_snapshot.h"
#include "models/waveform.h"
#include "models/waveform_viewport.h"
#include "storage/beat_grid_store.h"
#include "storage/cue_store.h"
#include "storage/file_identity.h"
#include "storage/waveform_cache.h"
#include "task_token.h"
#include "uptime_clock.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUrl>
#include <QUuid>

#include <atomic>
#include <map>
#include <memory>
#include <optional>

namespace kelvara {

class MusicController;
class WorkspaceWatcher;
struct AnalysisOutcome;

// What AppState is built on: its time source, the bridge program and the buses. The
// defaults are those of the real program.
struct AppStateEnvironment {
    std::shared_ptr<UptimeClock> clock = std::make_shared<SystemUptimeClock>();
    QString bridgeExecutable = QCoreApplication::applicationFilePath();
    std::optional<QDBusConnection> sessionBus;  // absent: the desktop's session bus
    std::optional<QDBusConnection> systemBus = QDBusConnection::systemBus();  // absent: no sleep notices
};

// The one controller of the window process, on the main thread: follows the player through
// the bridge, publishes its state and the play position, seeks and toggles playback, runs
// the analysis of the current track and keeps its cues, grids and loop. Views read it and
// call its operations; every published field has a change signal, and changed() follows any
// change a view may draw.
class AppState : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelvara::MusicSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(QString vocalStatus READ vocalStatus NOTIFY vocalStatusChanged)
    Q_PROPERTY(bool vocalReady READ vocalReady NOTIFY vocalReadyChanged)
    Q_PROPERTY(bool vocalActive READ vocalActive NOTIFY vocalActiveChanged)
    Q_PROPERTY(bool vocalWorking READ vocalWorking NOTIFY vocalWorkingChanged)
    Q_PROPERTY(bool vocalSwitching READ vocalSwitching NOTIFY vocalSwitchingChanged)
    Q_PROPERTY(bool autoInstrumental READ autoInstrumental WRITE setAutoInstrumental NOTIFY autoInstrumentalChanged)
    Q_PROPERTY(std::optional<kelvara::Waveform> waveform READ waveform NOTIFY waveformChanged)
    Q_PROPERTY(QString analysisMessage READ analysisMessage NOTIFY analysisMessageChanged)
    Q_PROPERTY(std::optional<double> analysisProgress READ analysisProgress NOTIFY analysisProgressChanged)
    Q_PROPERTY(std::optional<QString> controlError READ controlError NOTIFY controlErrorChanged)
    Q_PROPERTY(std::optional<double> previewPosition READ previewPosition NOTIFY previewPositionChanged)
    Q_PROPERTY(kelvara::BeatGridMap gridOverrides READ gridOverrides NOTIFY gridOverridesChanged)
    Q_PROPERTY(std::optional<QString> gridError READ gridError NOTIFY gridErrorChanged)
    Q_PROPERTY(bool showGridSettings READ showGridSettings WRITE setShowGridSettings NOTIFY showGridSettingsChanged)
    Q_PROPERTY(bool showBeatGrid READ showBeatGrid WRITE setShowBeatGrid NOTIFY showBeatGridChanged)
    Q_PROPERTY(bool snapToSquares READ snapToSquares WRITE setSnapToSquares NOTIFY snapToSquaresChanged)
    Q_PROPERTY(kelvara::WaveformViewport viewport READ viewport WRITE setViewport NOTIFY viewportChanged)
    Q_PROPERTY(std::optional<double> loopIn READ loopIn WRITE setLoopIn NOTIFY loopInChanged)
    Q_PROPERTY(std::optional<kelvara::LoopRegion> loopSelection READ loopSelection NOTIFY loopSelectionChanged)
    Q_PROPERTY(std::optional<kelvara::LoopRegion> activeLoop READ activeLoop NOTIFY activeLoopChanged)
    Q_PROPERTY(int pinMode READ pinMode WRITE setPinMode NOTIFY pinModeChanged)
    Q_PROPERTY(std::optional<QString> pinError READ pinError WRITE setPinError NOTIFY pinErrorChanged)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY compactChanged)
    Q_PROPERTY(bool seekLocked READ seekLocked WRITE setSeekLocked NOTIFY seekLockedChanged)
    Q_PROPERTY(kelvara::CueTracks cueTracks READ cueTracks NOTIFY cueTracksChanged)
    Q_PROPERTY(std::optional<QString> cueError READ cueError NOTIFY cueErrorChanged)
    Q_PROPERTY(bool showCues READ showCues WRITE setShowCues NOTIFY showCuesChanged)
    Q_PROPERTY(std::optional<QString> seekNotice READ seekNotice WRITE setSeekNotice NOTIFY seekNoticeChanged)

public:
    explicit AppState(AppStateEnvironment environment = {}, QObject* parent = nullptr);
    ~AppState() override;

    // Published fields.
    const MusicSnapshot& snapshot() const { return snapshot_; }
    const QString& vocalStatus() const { return vocalStatus_; }
    bool vocalReady() const { return vocalReady_; }
    bool vocalActive() const { return vocalActive_; }
    bool vocalWorking() const { return vocalWorking_; }
    bool vocalSwitching() const { return vocalSwitching_; }
    bool autoInstrumental() const { return autoInstrumental_; }
    const std::optional<Waveform>& waveform() const { return waveform_; }
    const QString& analysisMessage() const { return analysisMessage_; }
    std::optional<double> analysisProgress() const { return analysisProgress_; }
    const std::optional<QString>& controlError() const { return controlError_; }
    std::optional<double> previewPosition() const { return previewPosition_; }
    const BeatGridMap& gridOverrides() const { return gridOverrides_; }
    const std::optional<QString>& gridError() const { return gridError_; }
    bool showGridSettings() const { return showGridSettings_; }
    bool showBeatGrid() const { return showBeatGrid_; }
    bool snapToSquares() const { return snapToSquares_; }
    const WaveformViewport& viewport() const { return viewport_; }
    std::optional<double> loopIn() const { return loopIn_; }
    std::optional<LoopRegion> loopSelection() const { return loopSelection_; }
    std::optional<LoopRegion> activeLoop() const { return activeLoop_; }
    int pinMode() const { return pinMode_; }
    const std::optional<QString>& pinError() const { return pinError_; }
    bool compact() const { return compact_; }
    bool seekLocked() const { return seekLocked_; }
    const CueTracks& cueTracks() const { return cueTracks_; }
    const std::optional<QString>& cueError() const { return cueError_; }
    bool showCues() const { return showCues_; }
    const std::optional<QString>& seekNotice() const { return seekNotice_; }

    void setAutoInstrumental(bool on);
    void setShowGridSettings(bool shown);
    void setShowBeatGrid(bool shown);
    void setSnapToSquares(bool on);
    void setViewport(const WaveformViewport& viewport);
    void setLoopIn(std::optional<double> start);
    void setPinMode(int mode);
    void setPinError(const std::optional<QString>& error);
    void setCompact(bool on);
    void setSeekLocked(bool locked);
    void setShowCues(bool shown);
    void setSeekNotice(const std::optional<QString>& notice);

    // Derived values (they change with the fields named beside them).
    double position() const;       // now: preview, else interpolated from the last reply
    double duration() const;       // snapshot, else waveform, else 0
    bool canControl() const;       // snapshot, automation refusal, instrumental switch
    bool isScrubbing() const { return isScrubbing_; }
    std::vector<CuePoint> cues() const;  // the current track's, by time
    QString gridKey() const;             // snapshot and the chosen file
    std::optional<BeatGrid> beatGrid() const;  // manual for gridKey, else automatic
    bool gridIsManual() const;
    QString bpmLabel() const;

    // Polling.
    void start();
    void restartPolling();
    QCoro::Task<> refresh();
    // The window's "Повторить": resumes polling after a refusal and analyses afresh.
    void retry();

    // Player state.
    void apply(const MusicSnapshot& next);
    void seek(double seconds);
    void togglePlayback();
    void indicateSeekLock();

    // The file of the current track. The window asks for the file (remembering the track it
    // asked for) and hands the answer to chooseFile.
    void chooseFile(const QString& trackID, const QString& path);
    void resetFile();

    // Cues.
    void addCue(double seconds);
    void updateCue(const CuePoint& cue, const QString& trackID);
    void removeCue(const CuePoint& cue, const QString& trackID);

    // Grids.
    void saveGrid(const std::optional<BeatGrid>& grid);

    // Loop.
    void loopClick(double seconds);
    void activateLoop();
    void stopLoop();

signals:
    void changed();
    void snapshotChanged();
    void vocalStatusChanged();
    void vocalReadyChanged();
    void vocalActiveChanged();
    void vocalWorkingChanged();
    void vocalSwitchingChanged();
    void autoInstrumentalChanged();
    void waveformChanged();
    void analysisMessageChanged();
    void analysisProgressChanged();
    void controlErrorChanged();
    void previewPositionChanged();
    void gridOverridesChanged();
    void gridErrorChanged();
    void showGridSettingsChanged();
    void showBeatGridChanged();
    void snapToSquaresChanged();
    void viewportChanged();
    void loopInChanged();
    void loopSelectionChanged();
    void activeLoopChanged();
    void pinModeChanged();
    void pinErrorChanged();
    void compactChanged();
    void seekLockedChanged();
    void cueTracksChanged();
    void cueErrorChanged();
    void showCuesChanged();
    void seekNoticeChanged();

private:
    struct PendingSeek {
        QString trackID;
        double position = 0;
    };

    template <typename T>
    void publish(T& field, T value, void (AppState::*signal)());

    void loadStores();
    QString trackFilePath() const;
    void resetTrack();
    void followTrackFile();
    void watchFile(const QString& path);
    void stopAnalysis(const QString& message);
    void beginAnalysis(const QString& path);
    void showAnalysisProgress(const QUuid& generation, double fraction);
    void finishAnalysis(const QUuid& generation, const AnalysisOutcome& outcome);
    void storeOverrides();
    void saveCues();
    void enqueueSeek(double seconds);
    void freezePosition();
    void cancelNotice();

    QCoro::Task<> pollLoop(TaskToken token);
    QCoro::Task<> runSeekQueue();
    QCoro::Task<> sendToggle(QString trackID);
    QCoro::Task<> clearNoticeLater(TaskToken token);
    QCoro::Task<> watchLoop(TaskToken token, QString trackID, LoopRegion region);

    std::shared_ptr<UptimeClock> clock_;

    // Playback link.
    MusicSnapshot snapshot_;
    std::optional<QString> controlError_;
    std::optional<double> previewPosition_;
    bool seekLocked_ = true;
    std::optional<QString> seekNotice_;
    bool compact_ = false;
    bool isScrubbing_ = false;  // a drag pans the view, so nothing sets it yet
    std::optional<TaskToken> noticeTask_;
    std::unique_ptr<MusicController> controller_;
    std::optional<TaskToken> pollTask_;
    quint64 commandGeneration_ = 0;
    double anchorTime_ = 0;
    WorkspaceWatcher* observers_ = nullptr;
    bool seekTaskRunning_ = false;
    std::optional<PendingSeek> pendingSeek_;
    bool automationDenied_ = false;

    // Analysis and file.
    std::optional<Waveform> waveform_;
    QString analysisMessage_;
    std::optional<double> analysisProgress_;
    WaveformCache cache_;
    std::shared_ptr<std::atomic<bool>> analysisTask_;  // the running analysis's cancel flag
    QUuid analysisGeneration_;
    QString analysisKey_;
    std::optional<FileIdentity> lastIdentity_;
    double lastFileCheck_ = 0;
    std::map<QString, QString> overrides_;

    // Instrumental (its behaviour comes with the vocal feature).
    QString vocalStatus_;
    bool vocalReady_ = false;
    bool vocalActive_ = false;
    bool vocalWorking_ = false;
    bool vocalSwitching_ = false;
    bool autoInstrumental_ = true;
    std::optional<QUrl> vocalURL_;
    QUuid vocalGeneration_;
    QString preparationKey_;

    // Grids, loop and cues.
    BeatGridMap gridOverrides_;
    std::optional<QString> gridError_;
    bool showGridSettings_ = false;
    bool showBeatGrid_ = true;
    bool snapToSquares_ = true;
    BeatGridStore gridStore_;
    WaveformViewport viewport_;
    std::optional<double> loopIn_;
    std::optional<BeatGrid> loopGrid_;
    std::optional<LoopRegion> loopSelection_;
    std::optional<LoopRegion> activeLoop_;
    std::optional<TaskToken> loopTask_;
    CueTracks cueTracks_;
    std::optional<QString> cueError_;
    bool showCues_ = false;
    CueStore cueStore_;

    // Window.
    int pinMode_ = 0;
    std::optional<QString> pinError_;

    // Last member: destroyed first, waiting for a cancelled analysis to stop.
    QThreadPool analysisPool_;
};

}  // namespace kelvara
