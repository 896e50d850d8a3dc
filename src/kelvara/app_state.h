// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "marks/loop_control.h"
#include "marks/marks_context.h"
#include "marks/track_marks.h"
#include "player/playback_link.h"
#include "track/analysis_follower.h"
#include "uptime_clock.h"
#include "view/pin_control.h"
#include "view/view_settings.h"
#include "vocal/instrumental_mode.h"
#include "vocal/vocal_preparation.h"
#include "vocal/vocal_resources.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace kelvara {

// What AppState is built on: its time source, the bridge program and the buses. The
// defaults are those of the real program.
struct AppStateEnvironment {
    std::shared_ptr<UptimeClock> clock = std::make_shared<SystemUptimeClock>();
    QString bridgeExecutable = QCoreApplication::applicationFilePath();
    std::optional<QDBusConnection> sessionBus;  // absent: the desktop's session bus
    std::optional<QDBusConnection> systemBus = QDBusConnection::systemBus();  // absent: no sleep notices
    VocalResources vocalResources = VocalResources::standard();
};

// The one controller of the window process, on the main thread. It owns the parts and wires
// them together: the playback link, the analysis of the current track, its marks and loop,
// and the view settings. Views read the parts' published fields, call the operations here
// (or a part's setters) and follow changed(), which follows any change a view may draw.
class AppState : public QObject, private MarksContext {
    Q_OBJECT

public:
    explicit AppState(AppStateEnvironment environment = {}, QObject* parent = nullptr);
    ~AppState() override;

    PlaybackLink& playback() { return playback_; }
    AnalysisFollower& analysis() { return analysis_; }
    TrackMarks& marks() { return marks_; }
    LoopControl& loop() { return loop_; }
    ViewSettings& view() { return view_; }
    VocalPreparation& vocals() { return preparation_; }
    InstrumentalMode& instrumental() { return instrumental_; }
    PinControl& pin() { return pin_; }

    // Derived values.
    double position() const override;  // now: preview, else interpolated from the last reply
    double duration() const override;  // snapshot, else waveform, else 0
    bool canControl() const override;  // a current track, automation not refused
    QString bpmLabel() const;
    QString vocalHelp() const;  // the vocal button's help

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

    // Instrumental mode.
    // The vocal button: leaves the mode, enters it with a prepared instrumental, else prepares.
    void toggleVocals();
    void prepareCurrentInstrumental();
    void setAutoInstrumental(bool on);
    // Before the program quits: playback goes back to the player.
    QCoro::Task<> prepareToQuit();

signals:
    void changed();

private:
    void connectParts();
    void dropTrack();
    void engageSeekLock();
    void followVocals();
    QString trackPath() const;

    // What the marks read of the other parts.
    QString trackID() const override;
    QString filePath() const override;
    const std::optional<Waveform>& waveform() const override;
    TempoRange tempoRange() const override;
    bool playing() const override;
    bool seekLocked() const override;
    bool seekInFlight() const override;
    void enqueueSeek(double seconds) override;
    void indicateSeekLock() override;
    void setSeekNotice(const std::optional<QString>& notice) override;
    void cancelNotice() override;

    // Destroyed in reverse: the instrumental and its render first, then the loop's watcher;
    // the marks' writes and the analysis workers are waited for.
    AnalysisFollower analysis_;
    PlaybackLink playback_;
    ViewSettings view_;
    PinControl pin_;
    TrackMarks marks_;
    LoopControl loop_;
    VocalPreparation preparation_;
    InstrumentalMode instrumental_;
};

}  // namespace kelvara
