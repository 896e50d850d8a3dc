// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"

#include "analysis/analysis_job.h"
#include "i18n/l.h"
#include "models/bridge_request.h"
#include "models/performance_controls.h"
#include "models/timeline.h"
#include "music_controller.h"
#include "storage/settings.h"
#include "workspace_watcher.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

using namespace std::chrono_literals;

constexpr auto playingPollInterval = 1s;
constexpr auto idlePollInterval = 2s;
constexpr auto noticeDuration = 2s;
constexpr auto loopWatchInterval = 30ms;
constexpr double fileCheckInterval = 5;  // seconds

// Work finished on another thread comes back through the application's event queue, in the
// order it was posted.
template <typename Function>
void runOnMainThread(Function function) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(function), Qt::QueuedConnection);
}

}  // namespace

AppState::AppState(AppStateEnvironment environment, QObject* parent)
    : QObject(parent),
      clock_(std::move(environment.clock)),
      seekLocked_(Settings().seekLocked()),
      controller_(std::make_unique<MusicController>(environment.bridgeExecutable)),
      anchorTime_(clock_->now()),
      observers_(new WorkspaceWatcher(environment.sessionBus ? *environment.sessionBus : QDBusConnection::sessionBus(),
                                      environment.systemBus, this)),
      analysisMessage_(L("Ожидание Music")),
      analysisGeneration_(QUuid::createUuid()),
      overrides_(Settings().fileOverrides()),
      vocalStatus_(L("Подготовка инструментала")),
      autoInstrumental_(Settings().autoInstrumental()),
      vocalGeneration_(QUuid::createUuid()),
      showBeatGrid_(Settings().showBeatGrid()),
      snapToSquares_(Settings().snapToSquares()) {
    analysisPool_.setMaxThreadCount(2);
    connect(observers_, &WorkspaceWatcher::restartRequested, this, &AppState::restartPolling);
    loadStores();
}

AppState::~AppState() {
    for (auto* task : {&pollTask_, &noticeTask_, &loopTask_}) {
        if (*task) {
            (*task)->cancel();
        }
    }
    if (analysisTask_) {
        *analysisTask_ = true;
    }
}

void AppState::loadStores() {
    try {
        gridOverrides_ = gridStore_.load();
    } catch (const std::exception& error) {
        gridError_ = L("Не удалось прочитать сохранённые сетки: ") + QString::fromStdString(error.what());
    }
    try {
        cueTracks_ = cueStore_.load();
    } catch (const std::exception& error) {
        cueError_ = L("Не удалось прочитать метки. Исходный файл сохранён: {0}", QString::fromStdString(error.what()));
    }
}

template <typename T>
void AppState::publish(T& field, T value, void (AppState::*signal)()) {
    if constexpr (std::equality_comparable<T>) {
        if (field == value) {
            return;
        }
    }
    field = std::move(value);
    emit(this->*signal)();
    emit changed();
}

// --- Settable fields -------------------------------------------------------------------

void AppState::setAutoInstrumental(bool on) {
    Settings().setAutoInstrumental(on);
    publish(autoInstrumental_, on, &AppState::autoInstrumentalChanged);
}

void AppState::setShowGridSettings(bool shown) { publish(showGridSettings_, shown, &AppState::showGridSettingsChanged); }

void AppState::setShowBeatGrid(bool shown) {
    Settings().setShowBeatGrid(shown);
    publish(showBeatGrid_, shown, &AppState::showBeatGridChanged);
}

void AppState::setSnapToSquares(bool on) {
    Settings().setSnapToSquares(on);
    publish(snapToSquares_, on, &AppState::snapToSquaresChanged);
}

void AppState::setViewport(const WaveformViewport& viewport) { publish(viewport_, viewport, &AppState::viewportChanged); }
void AppState::setLoopIn(std::optional<double> start) { publish(loopIn_, start, &AppState::loopInChanged); }
void AppState::setPinMode(int mode) { publish(pinMode_, mode, &AppState::pinModeChanged); }
void AppState::setPinError(const std::optional<QString>& error) { publish(pinError_, error, &AppState::pinErrorChanged); }
void AppState::setCompact(bool on) { publish(compact_, on, &AppState::compactChanged); }
void AppState::setShowCues(bool shown) { publish(showCues_, shown, &AppState::showCuesChanged); }

void AppState::setSeekNotice(const std::optional<QString>& notice) {
    publish(seekNotice_, notice, &AppState::seekNoticeChanged);
}

void AppState::setSeekLocked(bool locked) {
    if (locked == seekLocked_) {
        return;
    }
    Settings().setSeekLocked(locked);
    publish(seekLocked_, locked, &AppState::seekLockedChanged);
    pendingSeek_.reset();
    publish(previewPosition_, std::optional<double>(), &AppState::previewPositionChanged);
    isScrubbing_ = false;
    if (locked) {
        stopLoop();
        setLoopIn(std::nullopt);
        setSeekNotice(std::nullopt);
    }
}

// --- Derived values ----------------------------------------------------------------------

double AppState::position() const {
    if (previewPosition_) {
        return *previewPosition_;
    }
    return Timeline::position(snapshot_.position, clock_->now() - anchorTime_, snapshot_.playing(), duration());
}

double AppState::duration() const {
    if (snapshot_.duration > 0) {
        return snapshot_.duration;
    }
    return waveform_ ? waveform_->duration : 0;
}

bool AppState::canControl() const {
    return snapshot_.running && !snapshot_.id.isEmpty() && !automationDenied_ && !vocalSwitching_;
}

std::vector<CuePoint> AppState::cues() const {
    const auto entry = cueTracks_.find(snapshot_.id);
    if (entry == cueTracks_.end()) {
        return {};
    }
    std::vector<CuePoint> sorted = entry->second;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CuePoint& a, const CuePoint& b) { return a.seconds < b.seconds; });
    return sorted;
}

QString AppState::trackFilePath() const {
    const auto chosen = overrides_.find(snapshot_.id);
    return chosen != overrides_.end() ? chosen->second : snapshot_.path;
}

QString AppState::gridKey() const { return snapshot_.id + QLatin1Char('|') + trackFilePath(); }

std::optional<BeatGrid> AppState::beatGrid() const {
    const auto manual = gridOverrides_.find(gridKey());
    if (manual != gridOverrides_.end()) {
        return manual->second;
    }
    return waveform_ ? waveform_->beatGrid : std::nullopt;
}

bool AppState::gridIsManual() const { return gridOverrides_.contains(gridKey()); }

QString AppState::bpmLabel() const {
    const auto grid = beatGrid();
    if (!grid) {
        return analysisProgress_ ? QStringLiteral("BPM …") : QStringLiteral("BPM —");
    }
    return (gridIsManual() ? QString() : QStringLiteral("≈")) + QString::asprintf("%.1f", grid->bpm);
}

// --- Polling -----------------------------------------------------------------------------

void AppState::start() {
    if (pollTask_) {
        return;
    }
    observers_->watch();
    restartPolling();
}

void AppState::restartPolling() {
    if (pollTask_) {
        pollTask_->cancel();
    }
    pollTask_ = TaskToken();
    pollLoop(*pollTask_);
}

QCoro::Task<> AppState::pollLoop(TaskToken token) {
    QPointer<AppState> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    while (self && !token.isCancelled()) {
        if (!automationDenied_) {
            co_await refresh();
            if (!self || token.isCancelled()) {
                co_return;
            }
        }
        const auto interval = snapshot_.playing() ? playingPollInterval : idlePollInterval;
        const bool slept = co_await clock->sleep(interval, token);
        if (!slept) {
            co_return;
        }
    }
}

QCoro::Task<> AppState::refresh() {
    if (seekTaskRunning_ || isScrubbing_ || vocalSwitching_) {
        co_return;
    }
    QPointer<AppState> self(this);
    const quint64 generation = commandGeneration_;
    const std::optional<TaskToken> poll = pollTask_;
    // A command or a restart of polling during an await makes what this refresh learnt stale.
    const auto stale = [&] { return !self || (poll && poll->isCancelled()) || commandGeneration_ != generation; };

    const bool playerRunning = co_await observers_->playerRunning();
    if (stale()) {
        co_return;
    }
    if (!playerRunning) {
        apply(MusicSnapshot{});
        co_return;
    }
    const BridgeRequest request = BridgeRequest::snapshot();
    const MusicSnapshot reply = co_await controller_->request(request);
    if (stale()) {
        co_return;
    }
    if (reply.error) {
        stopLoop();
        publish(controlError_, reply.error, &AppState::controlErrorChanged);
        automationDenied_ = reply.failedWith(LinkErrorCode::automationDenied);
        freezePosition();
        co_return;
    }
    publish(controlError_, std::optional<QString>(), &AppState::controlErrorChanged);
    apply(reply);
}

// An error reply never replaces what is known about the track; the position stops where it got to.
void AppState::freezePosition() {
    MusicSnapshot frozen = snapshot_;
    frozen.position = position();
    frozen.state = PlaybackState::paused;
    anchorTime_ = clock_->now();
    publish(snapshot_, frozen, &AppState::snapshotChanged);
}

void AppState::retry() {
    automationDenied_ = false;
    publish(controlError_, std::optional<QString>(), &AppState::controlErrorChanged);
    analysisKey_.clear();
    restartPolling();
}

// --- Applying a reply ----------------------------------------------------------------------

void AppState::apply(const MusicSnapshot& next) {
    const bool changed = snapshot_.id != next.id || snapshot_.path != next.path || snapshot_.running != next.running;
    anchorTime_ = clock_->now();
    publish(snapshot_, next, &AppState::snapshotChanged);
    if (changed) {
        resetTrack();
    }
    followTrackFile();
}

void AppState::resetTrack() {
    vocalGeneration_ = QUuid::createUuid();
    publish(vocalReady_, false, &AppState::vocalReadyChanged);
    vocalURL_.reset();
    publish(vocalWorking_, false, &AppState::vocalWorkingChanged);
    preparationKey_.clear();
    stopLoop();
    publish(loopSelection_, std::optional<LoopRegion>(), &AppState::loopSelectionChanged);
    setLoopIn(std::nullopt);
    setSeekNotice(std::nullopt);
    setViewport(WaveformViewport{});
    isScrubbing_ = false;
    publish(previewPosition_, std::optional<double>(), &AppState::previewPositionChanged);
    pendingSeek_.reset();
    publish(waveform_, std::optional<Waveform>(), &AppState::waveformChanged);
    analysisKey_.clear();
}

// Which file belongs to the current track, and whether it needs a (new) analysis.
void AppState::followTrackFile() {
    if (!snapshot_.running || snapshot_.id.isEmpty()) {
        stopAnalysis(snapshot_.running ? L("Выберите трек в Music") : L("Music закрыта — откройте приложение «Музыка»"));
        return;
    }
    const QString path = trackFilePath();
    const QString key = snapshot_.id + QLatin1Char('|') + path;
    if (key != analysisKey_) {
        analysisKey_ = key;
        beginAnalysis(path);
        return;
    }
    watchFile(path);
}

// At most every 5 s, and only while no analysis runs: a file that appeared, vanished or
// changed on disk is analysed again.
void AppState::watchFile(const QString& path) {
    const double now = clock_->now();
    if (now - lastFileCheck_ <= fileCheckInterval || analysisProgress_) {
        return;
    }
    lastFileCheck_ = now;
    if (AnalysisJob::identityNow(path) != lastIdentity_) {
        beginAnalysis(path);
    }
}

void AppState::stopAnalysis(const QString& message) {
    if (analysisTask_) {
        *analysisTask_ = true;
        analysisTask_.reset();
    }
    analysisGeneration_ = QUuid::createUuid();
    publish(waveform_, std::optional<Waveform>(), &AppState::waveformChanged);
    publish(analysisProgress_, std::optional<double>(), &AppState::analysisProgressChanged);
    publish(analysisMessage_, message, &AppState::analysisMessageChanged);
}

// --- Analysis ------------------------------------------------------------------------------

void AppState::beginAnalysis(const QString& path) {
    if (analysisTask_) {
        *analysisTask_ = true;
    }
    const QUuid generation = QUuid::createUuid();
    analysisGeneration_ = generation;
    publish(waveform_, std::optional<Waveform>(), &AppState::waveformChanged);
    publish(analysisProgress_, std::optional<double>(0.0), &AppState::analysisProgressChanged);
    publish(analysisMessage_, L("Анализ аудио…"), &AppState::analysisMessageChanged);
    lastFileCheck_ = clock_->now();

    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    analysisTask_ = cancelled;
    QPointer<AppState> self(this);
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
void AppState::showAnalysisProgress(const QUuid& generation, double fraction) {
    if (generation == analysisGeneration_ && analysisProgress_) {
        publish(analysisProgress_, std::optional<double>(fraction), &AppState::analysisProgressChanged);
    }
}

void AppState::finishAnalysis(const QUuid& generation, const AnalysisOutcome& outcome) {
    if (generation != analysisGeneration_ || outcome.kind == AnalysisOutcome::Kind::cancelled) {
        return;
    }
    analysisTask_.reset();
    lastIdentity_ = outcome.identity;
    publish(waveform_, outcome.waveform, &AppState::waveformChanged);
    publish(analysisProgress_, std::optional<double>(), &AppState::analysisProgressChanged);
    publish(analysisMessage_, outcome.message(), &AppState::analysisMessageChanged);
}

void AppState::chooseFile(const QString& trackID, const QString& path) {
    if (trackID.isEmpty() || path.isEmpty()) {
        return;
    }
    overrides_[trackID] = path;
    storeOverrides();
    // A track that changed while the user was choosing keeps its own analysis.
    if (snapshot_.id == trackID) {
        analysisKey_.clear();
        followTrackFile();
    }
}

void AppState::resetFile() {
    overrides_.erase(snapshot_.id);
    storeOverrides();
    analysisKey_.clear();
    followTrackFile();
}

void AppState::storeOverrides() {
    Settings().setFileOverrides(overrides_);
    emit changed();
}

// --- Seeking and transport ------------------------------------------------------------------

void AppState::seek(double seconds) {
    if (!canControl() || duration() <= 0) {
        return;
    }
    if (!PerformanceControls::maySeek(seekLocked_)) {
        indicateSeekLock();
        return;
    }
    if (activeLoop_ && (seconds < activeLoop_->start || seconds >= activeLoop_->end)) {
        stopLoop();
    }
    enqueueSeek(seconds);
}

void AppState::enqueueSeek(double seconds) {
    if (!canControl() || duration() <= 0 || !PerformanceControls::maySeek(seekLocked_) || !std::isfinite(seconds)) {
        return;
    }
    const double target = std::clamp(seconds, 0.0, duration());
    publish(previewPosition_, std::optional<double>(target), &AppState::previewPositionChanged);
    pendingSeek_ = PendingSeek{snapshot_.id, target};
    ++commandGeneration_;
    if (!seekTaskRunning_) {
        seekTaskRunning_ = true;
        runSeekQueue();
    }
}

// One seek in flight and at most one waiting: targets passed over by a fast drag are never sent.
QCoro::Task<> AppState::runSeekQueue() {
    QPointer<AppState> self(this);
    while (pendingSeek_) {
        const PendingSeek seek = *std::exchange(pendingSeek_, std::nullopt);
        const BridgeRequest request{BridgeAction::seek, seek.trackID, seek.position};
        const MusicSnapshot reply = co_await controller_->request(request);
        if (!self) {
            co_return;
        }
        if (reply.error) {
            publish(controlError_, reply.error, &AppState::controlErrorChanged);
            stopLoop();
        } else if (!pendingSeek_) {
            apply(reply);
        }
    }
    if (!isScrubbing_) {
        publish(previewPosition_, std::optional<double>(), &AppState::previewPositionChanged);
    }
    seekTaskRunning_ = false;
}

void AppState::togglePlayback() {
    if (!canControl()) {
        return;
    }
    ++commandGeneration_;
    sendToggle(snapshot_.id);
}

QCoro::Task<> AppState::sendToggle(QString trackID) {
    QPointer<AppState> self(this);
    const BridgeRequest request{BridgeAction::toggle, trackID, 0};
    const MusicSnapshot reply = co_await controller_->request(request);
    if (!self) {
        co_return;
    }
    if (reply.error) {
        publish(controlError_, reply.error, &AppState::controlErrorChanged);
    } else {
        apply(reply);
    }
}

void AppState::indicateSeekLock() {
    setSeekNotice(L("Перемотка выключена · снимите замок"));
    cancelNotice();
    noticeTask_ = TaskToken();
    clearNoticeLater(*noticeTask_);
}

void AppState::cancelNotice() {
    if (noticeTask_) {
        noticeTask_->cancel();
        noticeTask_.reset();
    }
}

QCoro::Task<> AppState::clearNoticeLater(TaskToken token) {
    QPointer<AppState> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    const bool slept = co_await clock->sleep(noticeDuration, token);
    if (slept && self) {
        setSeekNotice(std::nullopt);
    }
}

// --- Cues ------------------------------------------------------------------------------------

void AppState::addCue(double seconds) {
    if (!canControl() || duration() <= 0 || !cueStore_.readable() || !std::isfinite(seconds)) {
        return;
    }
    auto& track = cueTracks_[snapshot_.id];
    track.push_back(CuePoint::numbered(seconds, duration(), static_cast<qsizetype>(track.size())));
    saveCues();
}

void AppState::updateCue(const CuePoint& cue, const QString& trackID) {
    const auto entry = cueTracks_.find(trackID);
    if (entry == cueTracks_.end()) {
        return;
    }
    auto& track = entry->second;
    const auto stored = std::find_if(track.begin(), track.end(), [&](const CuePoint& c) { return c.id == cue.id; });
    if (stored == track.end()) {
        return;
    }
    *stored = cue;
    saveCues();
}

void AppState::removeCue(const CuePoint& cue, const QString& trackID) {
    const auto entry = cueTracks_.find(trackID);
    if (entry != cueTracks_.end()) {
        std::erase_if(entry->second, [&](const CuePoint& c) { return c.id == cue.id; });
    }
    saveCues();
}

// The whole map goes to disk after every change; a store that could not be read keeps its file.
void AppState::saveCues() {
    emit cueTracksChanged();
    emit changed();
    if (!cueStore_.readable()) {
        return;
    }
    std::optional<QString> error;
    try {
        (void)cueStore_.save(cueTracks_);
    } catch (const std::exception& failure) {
        error = L("Метки пока не сохранены на диск: {0}", QString::fromStdString(failure.what()));
    }
    publish(cueError_, error, &AppState::cueErrorChanged);
}

// --- Grids -------------------------------------------------------------------------------------

void AppState::saveGrid(const std::optional<BeatGrid>& grid) {
    if (!canControl() || duration() <= 0 || !gridStore_.readable()) {
        return;
    }
    if (grid && !grid->valid()) {
        publish(gridError_, std::optional<QString>(L("BPM должен быть от 30 до 300")), &AppState::gridErrorChanged);
        return;
    }
    BeatGridMap grids = gridOverrides_;
    if (grid) {
        grids[gridKey()] = *grid;
    } else {
        grids.erase(gridKey());
    }
    publish(gridOverrides_, std::move(grids), &AppState::gridOverridesChanged);
    std::optional<QString> error;
    try {
        (void)gridStore_.save(gridOverrides_);
    } catch (const std::exception& failure) {
        error = L("Сетка пока не сохранена: ") + QString::fromStdString(failure.what());
    }
    publish(gridError_, error, &AppState::gridErrorChanged);
}

// --- Loop --------------------------------------------------------------------------------------

void AppState::loopClick(double seconds) {
    if (!canControl() || duration() <= 0 || seekLocked_) {
        indicateSeekLock();
        return;
    }
    const std::optional<BeatGrid> grid = loopIn_ ? loopGrid_ : beatGrid();
    const std::optional<double> boundary =
        grid ? grid->loopBoundary(seconds, loopIn_, BeatGrid::beatsPerSquare, duration()) : std::nullopt;
    if (!boundary) {
        setSeekNotice(beatGrid() ? L("В треке недостаточно места для целого квадрата") : L("Для повтора участка задайте BPM"));
        return;
    }
    cancelNotice();
    if (!loopIn_) {
        stopLoop();
        publish(loopSelection_, std::optional<LoopRegion>(), &AppState::loopSelectionChanged);
        loopGrid_ = beatGrid();
        setLoopIn(boundary);
        setSeekNotice(L("Вход □ · ⌘ + клик для выхода по квадрату"));
        return;
    }
    const std::optional<LoopRegion> region = LoopRegion::make(*loopIn_, *boundary, duration());
    if (!region) {
        setSeekNotice(L("Конец участка должен быть правее начала (от 0,5 с)"));
        return;
    }
    publish(loopSelection_, region, &AppState::loopSelectionChanged);
    setLoopIn(std::nullopt);
    setSeekNotice(std::nullopt);
    activateLoop();
}

void AppState::activateLoop() {
    if (!canControl() || duration() <= 0 || !PerformanceControls::maySeek(seekLocked_) || !loopSelection_) {
        return;
    }
    stopLoop();
    const LoopRegion region = *loopSelection_;
    publish(activeLoop_, std::optional<LoopRegion>(region), &AppState::activeLoopChanged);
    const double now = position();
    if (now < region.start || now >= region.end) {
        enqueueSeek(region.start);
    }
    loopTask_ = TaskToken();
    watchLoop(*loopTask_, snapshot_.id, region);
}

void AppState::stopLoop() {
    publish(activeLoop_, std::optional<LoopRegion>(), &AppState::activeLoopChanged);
    if (loopTask_) {
        loopTask_->cancel();
        loopTask_.reset();
    }
}

// Jumps back to the start whenever playback passes the end; ends with the track or the loop.
QCoro::Task<> AppState::watchLoop(TaskToken token, QString trackID, LoopRegion region) {
    QPointer<AppState> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    for (;;) {
        const bool slept = co_await clock->sleep(loopWatchInterval, token);
        if (!slept || !self || snapshot_.id != trackID || activeLoop_ != region) {
            co_return;
        }
        const bool idle = !seekTaskRunning_ && !isScrubbing_ && canControl() && duration() > 0;
        if (idle && region.shouldWrap(position(), snapshot_.playing())) {
            enqueueSeek(region.start);
        }
    }
}

}  // namespace kelvara
