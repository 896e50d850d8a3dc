// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/waveform_control.h"

#include "app_state.h"
#include "control/properties_announcer.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/playback_state.h"

#include <QDBusError>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

const QString noTrackError = QStringLiteral("local.kelvara.Waveform1.Error.NoTrack");
const QString seekLockedError = QStringLiteral("local.kelvara.Waveform1.Error.SeekLocked");
const QString refusedError = QStringLiteral("local.kelvara.Waveform1.Error.Refused");

}  // namespace

WaveformControl::WaveformControl(AppState& state, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), state_(state), bus_(bus) {
    CueEntry::registerType();
    announcer_ = new PropertiesAnnouncer(*this, bus_, QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
                                         QString::fromLatin1(unannouncedProperty), this);
    connect(&state_, &AppState::changed, announcer_, &PropertiesAnnouncer::schedule);
    exported_ = bus_.registerObject(QString::fromLatin1(objectPath), this,
                                    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
    if (!exported_) {
        qCWarning(controlLog) << "the control object is not on the bus:" << bus_.lastError().message();
    }
}

WaveformControl::~WaveformControl() {
    if (exported_) {
        bus_.unregisterObject(QString::fromLatin1(objectPath));
    }
}

// --- Properties ----------------------------------------------------------------------------

QString WaveformControl::trackId() const { return state_.playback().snapshot().id; }
QString WaveformControl::title() const { return state_.playback().snapshot().title; }
QString WaveformControl::filePath() const { return state_.analysis().filePath(state_.playback().snapshot()); }
QString WaveformControl::playbackState() const { return jsonName(state_.playback().snapshot().state); }
double WaveformControl::position() const { return state_.position(); }
double WaveformControl::duration() const { return state_.duration(); }
double WaveformControl::bpm() const { return state_.marks().beatGrid().value_or(BeatGrid{}).bpm; }
double WaveformControl::gridOrigin() const { return state_.marks().beatGrid().value_or(BeatGrid{}).origin; }
bool WaveformControl::gridIsManual() const { return state_.marks().gridIsManual(); }
QString WaveformControl::analysisMessage() const { return state_.analysis().analysisMessage(); }

QList<CueEntry> WaveformControl::cues() const {
    QList<CueEntry> entries;
    for (const CuePoint& cue : state_.marks().cues()) {
        entries.append(CueEntry::of(cue));
    }
    return entries;
}

QList<double> WaveformControl::activeLoop() const {
    const std::optional<LoopRegion> loop = state_.loop().activeLoop();
    return loop ? QList<double>{loop->start, loop->end} : QList<double>{};
}

bool WaveformControl::seekLocked() const { return state_.playback().seekLocked(); }
void WaveformControl::setSeekLocked(bool locked) { state_.playback().setSeekLocked(locked); }
int WaveformControl::pinMode() const { return state_.pin().pinMode(); }

void WaveformControl::setPinMode(int mode) {
    if (mode == PinControl::Unpinned) {
        state_.pin().unpin();
        return;
    }
    if (mode != PinControl::Pinned && mode != PinControl::Linked) {
        return;
    }
    // Two steps of the cycle reach either mode; a refused link falls back to 1 on the way.
    for (int step = 0; step < 2 && state_.pin().pinMode() != mode; ++step) {
        state_.pin().cyclePinMode();
    }
}

bool WaveformControl::vocalReady() const { return state_.vocals().vocalReady(); }
bool WaveformControl::vocalActive() const { return state_.instrumental().vocalActive(); }
QString WaveformControl::vocalStatus() const { return state_.vocals().vocalStatus(); }

// --- Methods -------------------------------------------------------------------------------

void WaveformControl::Seek(double seconds) {
    if (refuseInfinite(seconds) || refuseWithoutTrack()) {
        return;
    }
    state_.seek(seconds);
    if (state_.playback().seekLocked()) {
        sendErrorReply(seekLockedError, state_.playback().seekNotice().value_or(QString()));
    }
}

void WaveformControl::ToggleVocals() {
    if (!refuseWithoutTrack()) {
        state_.toggleVocals();
    }
}

void WaveformControl::TogglePlayback() {
    if (!refuseWithoutTrack()) {
        state_.togglePlayback();
    }
}

void WaveformControl::AddCue() { AddCueAt(state_.position()); }

void WaveformControl::AddCueAt(double seconds) {
    if (refuseInfinite(seconds) || refuseWithoutTrack()) {
        return;
    }
    const std::size_t before = state_.marks().cues().size();
    state_.addCue(seconds);
    if (state_.marks().cues().size() == before) {
        sendErrorReply(refusedError, state_.marks().storeNotice().value_or(QString()));
    }
}

void WaveformControl::RemoveCue(const QString& id) {
    if (refuseWithoutTrack()) {
        return;
    }
    const std::vector<CuePoint> cues = state_.marks().cues();
    const auto cue = std::find_if(cues.begin(), cues.end(),
                                  [&](const CuePoint& c) { return c.idText().compare(id, Qt::CaseInsensitive) == 0; });
    if (cue == cues.end()) {
        sendErrorReply(QDBusError::InvalidArgs, L("Метка не найдена: {0}", id));
        return;
    }
    state_.removeCue(*cue, trackId());
}

// The square under the play line, chosen as the window's two loop clicks choose it: one on its
// start, one on its end. A start chosen in the window beforehand is not this command's.
void WaveformControl::LoopSquare() {
    if (refuseWithoutTrack()) {
        return;
    }
    LoopControl& loop = state_.loop();
    loop.cancelStart();
    const std::optional<BeatGrid> grid = state_.marks().beatGrid();
    const double start = grid ? grid->blockStart(state_.position(), BeatGrid::beatsPerSquare) : state_.position();
    state_.loopClick(start);
    if (grid && loop.loopIn()) {
        state_.loopClick(*loop.loopIn() + grid->interval() * BeatGrid::beatsPerSquare);
    }
    if (!loop.activeLoop()) {
        sendErrorReply(state_.playback().seekLocked() ? seekLockedError : refusedError,
                       state_.playback().seekNotice().value_or(QString()));
    }
}

void WaveformControl::StopLoop() { state_.stopLoop(); }

void WaveformControl::Raise() { emit raiseRequested(); }

// --- Refusals ------------------------------------------------------------------------------

// Commands need what the window's controls need: a track the player lets us control.
bool WaveformControl::refuseWithoutTrack() {
    if (state_.canControl() && state_.duration() > 0) {
        return false;
    }
    const PlaybackLink& playback = state_.playback();
    const QString reason =
        playback.snapshot().running ? playback.controlError().value_or(L("Нет текущего трека")) : L("Music закрыта");
    sendErrorReply(noTrackError, reason);
    return true;
}

bool WaveformControl::refuseInfinite(double seconds) {
    if (std::isfinite(seconds)) {
        return false;
    }
    sendErrorReply(QDBusError::InvalidArgs, L("Поле «{0}» не является конечным числом", "seconds"));
    return true;
}

}  // namespace kelvara
