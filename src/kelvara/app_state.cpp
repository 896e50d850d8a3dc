// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"

#include "i18n/l.h"

namespace kelvara {

AppState::AppState(AppStateEnvironment environment, QObject* parent)
    : QObject(parent),
      analysis_(environment.clock),
      playback_(environment.clock, environment.bridgeExecutable,
                environment.sessionBus ? *environment.sessionBus : QDBusConnection::sessionBus(), environment.systemBus,
                [this] { return analysis_.waveform() ? analysis_.waveform()->duration : 0; }),
      marks_(*this),
      loop_(*this, marks_, environment.clock),
      preparation_(environment.clock, std::move(environment.vocalResources)),
      instrumental_(playback_, preparation_, environment.clock, [this] { loop_.stopLoop(); }) {
    playback_.setLocalTransport(&instrumental_);
    connectParts();
}

AppState::~AppState() { playback_.setLocalTransport(nullptr); }

void AppState::connectParts() {
    connect(&analysis_, &AnalysisFollower::changed, this, &AppState::changed);
    connect(&playback_, &PlaybackLink::changed, this, &AppState::changed);
    connect(&view_, &ViewSettings::changed, this, &AppState::changed);
    connect(&pin_, &PinControl::changed, this, &AppState::changed);
    connect(&marks_, &TrackMarks::changed, this, &AppState::changed);
    connect(&loop_, &LoopControl::changed, this, &AppState::changed);
    connect(&preparation_, &VocalPreparation::changed, this, &AppState::changed);
    connect(&instrumental_, &InstrumentalMode::changed, this, &AppState::changed);
    connect(&playback_, &PlaybackLink::trackChanged, this, &AppState::dropTrack);
    connect(&playback_, &PlaybackLink::applied, this, [this] {
        analysis_.follow(playback_.snapshot());
        followVocals();
    });
    connect(&playback_, &PlaybackLink::controlFailed, &loop_, &LoopControl::stopLoop);
    connect(&playback_, &PlaybackLink::seeking, &loop_, &LoopControl::leaveUnlessInside);
    connect(&playback_, &PlaybackLink::seekLockedChanged, this, &AppState::engageSeekLock);
}

// What belonged to the old track goes before the new one is followed.
void AppState::dropTrack() {
    loop_.resetTrack();
    view_.setViewport(WaveformViewport{});
    analysis_.resetTrack();
    preparation_.resetTrack();
}

// Every track the player shows gets its instrumental when preparing is automatic; a track and
// file already taken up are not prepared again.
void AppState::followVocals() {
    const MusicSnapshot& snapshot = playback_.snapshot();
    if (snapshot.running && !snapshot.id.isEmpty() && preparation_.autoInstrumental()) {
        preparation_.prepare(snapshot.id, trackPath());
    }
}

QString AppState::trackPath() const { return analysis_.filePath(playback_.snapshot()); }

// With the lock on nothing may move the player, the loop's jumps included.
void AppState::engageSeekLock() {
    if (playback_.seekLocked()) {
        loop_.stopLoop();
        loop_.setLoopIn(std::nullopt);
    }
}

// --- Derived values ----------------------------------------------------------------------

double AppState::position() const { return playback_.position(); }
double AppState::duration() const { return playback_.duration(); }
bool AppState::canControl() const { return playback_.canControl(); }

QString AppState::bpmLabel() const {
    const auto grid = marks_.beatGrid();
    if (!grid) {
        return analysis_.analysisProgress() ? QStringLiteral("BPM …") : QStringLiteral("BPM —");
    }
    return (marks_.gridIsManual() ? QString() : QStringLiteral("≈")) + QString::asprintf("%.1f", grid->bpm);
}

QString AppState::vocalHelp() const {
    if (instrumental_.vocalActive()) {
        return L("Инструментальный режим · нажмите, чтобы вернуть вокал");
    }
    return preparation_.vocalReady() ? L("Убрать вокал с текущей позиции") : preparation_.vocalStatus();
}

// --- Operations ----------------------------------------------------------------------------

void AppState::start() { playback_.start(); }
void AppState::restartPolling() { playback_.restartPolling(); }
QCoro::Task<> AppState::refresh() { return playback_.refresh(); }

void AppState::retry() {
    analysis_.forgetFile();
    playback_.retry();
}

void AppState::apply(const MusicSnapshot& next) { playback_.apply(next); }
void AppState::seek(double seconds) { playback_.seek(seconds); }
void AppState::togglePlayback() { playback_.togglePlayback(); }

void AppState::chooseFile(const QString& trackID, const QString& path) { analysis_.chooseFile(trackID, path); }
void AppState::resetFile() { analysis_.resetFile(); }

void AppState::addCue(double seconds) { marks_.addCue(seconds); }
void AppState::updateCue(const CuePoint& cue, const QString& trackID) { marks_.updateCue(cue, trackID); }
void AppState::removeCue(const CuePoint& cue, const QString& trackID) { marks_.removeCue(cue, trackID); }
void AppState::saveGrid(const std::optional<BeatGrid>& grid) { marks_.saveGrid(grid); }

void AppState::toggleVocals() {
    if (!canControl() || instrumental_.vocalSwitching()) {
        return;
    }
    if (instrumental_.vocalActive()) {
        instrumental_.restoreMusic();
    } else if (preparation_.vocalReady()) {
        instrumental_.switchIn();
    } else {
        prepareCurrentInstrumental();
    }
}

void AppState::prepareCurrentInstrumental() { preparation_.prepareAgain(playback_.snapshot().id, trackPath()); }

void AppState::setAutoInstrumental(bool on) { preparation_.setAutoInstrumental(on, playback_.snapshot().id, trackPath()); }

QCoro::Task<> AppState::prepareToQuit() { return instrumental_.prepareToQuit(); }

void AppState::loopClick(double seconds) { loop_.loopClick(seconds); }
void AppState::activateLoop() { loop_.activateLoop(); }
void AppState::stopLoop() { loop_.stopLoop(); }

// --- What the marks read ---------------------------------------------------------------------

QString AppState::trackID() const { return playback_.snapshot().id; }
QString AppState::filePath() const { return analysis_.filePath(playback_.snapshot()); }

const std::optional<Waveform>& AppState::waveform() const { return analysis_.waveform(); }
TempoRange AppState::tempoRange() const { return view_.tempoRange(); }

bool AppState::playing() const { return playback_.snapshot().playing(); }
bool AppState::seekLocked() const { return playback_.seekLocked(); }
bool AppState::seekInFlight() const { return playback_.seekInFlight(); }
void AppState::enqueueSeek(double seconds) { playback_.enqueueSeek(seconds); }
void AppState::indicateSeekLock() { playback_.indicateSeekLock(); }
void AppState::setSeekNotice(const std::optional<QString>& notice) { playback_.setSeekNotice(notice); }
void AppState::cancelNotice() { playback_.cancelNotice(); }

}  // namespace kelvara
