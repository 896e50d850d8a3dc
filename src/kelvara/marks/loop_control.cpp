// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks/loop_control.h"

#include "i18n/l.h"
#include "marks/marks_context.h"
#include "marks/track_marks.h"
#include "models/performance_controls.h"
#include "publish.h"

#include <QPointer>

namespace kelvara {

namespace {
using namespace std::chrono_literals;
constexpr auto loopWatchInterval = 30ms;
}  // namespace

LoopControl::LoopControl(MarksContext& context, const TrackMarks& marks, std::shared_ptr<UptimeClock> clock,
                         QObject* parent)
    : QObject(parent), context_(context), marks_(marks), clock_(std::move(clock)) {}

LoopControl::~LoopControl() {
    if (loopTask_) {
        loopTask_->cancel();
    }
}

void LoopControl::setLoopIn(std::optional<double> start) { publish(*this, loopIn_, start, &LoopControl::loopInChanged); }

void LoopControl::setSelection(std::optional<LoopRegion> region) {
    publish(*this, loopSelection_, region, &LoopControl::loopSelectionChanged);
}

void LoopControl::loopClick(double seconds) {
    if (!context_.canControl() || context_.duration() <= 0 || context_.seekLocked()) {
        context_.indicateSeekLock();
        return;
    }
    const std::optional<BeatGrid> grid = loopIn_ ? loopGrid_ : marks_.beatGrid();
    const std::optional<double> boundary =
        grid ? grid->loopBoundary(seconds, loopIn_, BeatGrid::beatsPerSquare, context_.duration()) : std::nullopt;
    if (!boundary) {
        context_.setSeekNotice(marks_.beatGrid() ? L("В треке недостаточно места для целого квадрата")
                                                 : L("Для повтора участка задайте BPM"));
        return;
    }
    context_.cancelNotice();
    if (loopIn_) {
        chooseEnd(*boundary);
    } else {
        chooseStart(*boundary);
    }
}

void LoopControl::chooseStart(double boundary) {
    stopLoop();
    setSelection(std::nullopt);
    loopGrid_ = marks_.beatGrid();
    setLoopIn(boundary);
    context_.setSeekNotice(L("Вход □ · ⌘ + клик для выхода по квадрату"));
}

void LoopControl::chooseEnd(double boundary) {
    const std::optional<LoopRegion> region = LoopRegion::make(*loopIn_, boundary, context_.duration());
    if (!region) {
        context_.setSeekNotice(L("Конец участка должен быть правее начала (от 0,5 с)"));
        return;
    }
    setSelection(region);
    cancelStart();
    activateLoop();
}

void LoopControl::activateLoop() {
    if (!context_.canControl() || context_.duration() <= 0 || !PerformanceControls::maySeek(context_.seekLocked()) ||
        !loopSelection_) {
        return;
    }
    stopLoop();
    const LoopRegion region = *loopSelection_;
    publish(*this, activeLoop_, std::optional<LoopRegion>(region), &LoopControl::activeLoopChanged);
    const double now = context_.position();
    if (now < region.start || now >= region.end) {
        context_.enqueueSeek(region.start);
    }
    loopTask_ = TaskToken();
    watchLoop(*loopTask_, context_.trackID(), region);
}

void LoopControl::stopLoop() {
    publish(*this, activeLoop_, std::optional<LoopRegion>(), &LoopControl::activeLoopChanged);
    if (loopTask_) {
        loopTask_->cancel();
        loopTask_.reset();
    }
}

void LoopControl::cancelStart() {
    setLoopIn(std::nullopt);
    context_.setSeekNotice(std::nullopt);
}

void LoopControl::leaveUnlessInside(double seconds) {
    if (activeLoop_ && (seconds < activeLoop_->start || seconds >= activeLoop_->end)) {
        stopLoop();
    }
}

void LoopControl::resetTrack() {
    stopLoop();
    setSelection(std::nullopt);
    setLoopIn(std::nullopt);
}

// Jumps back to the start whenever playback passes the end; ends with the track or the loop.
QCoro::Task<> LoopControl::watchLoop(TaskToken token, QString trackID, LoopRegion region) {
    QPointer<LoopControl> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    for (;;) {
        const bool slept = co_await clock->sleep(loopWatchInterval, token);
        if (!slept || !self || context_.trackID() != trackID || activeLoop_ != region) {
            co_return;
        }
        const bool idle = !context_.seekInFlight() && context_.canControl() && context_.duration() > 0;
        if (idle && region.shouldWrap(context_.position(), context_.playing())) {
            context_.enqueueSeek(region.start);
        }
    }
}

}  // namespace kelvara
