// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/beat_grid.h"
#include "models/loop_region.h"
#include "task_token.h"
#include "uptime_clock.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace kelvara {

class MarksContext;
class TrackMarks;

// A section of whole squares of the beat grid played over and over: two Ctrl-clicks choose
// its start and end, and a watcher sends the player back to the start whenever playback
// passes the end.
class LoopControl : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<double> loopIn READ loopIn WRITE setLoopIn NOTIFY loopInChanged)
    Q_PROPERTY(std::optional<kelvara::LoopRegion> loopSelection READ loopSelection NOTIFY loopSelectionChanged)
    Q_PROPERTY(std::optional<kelvara::LoopRegion> activeLoop READ activeLoop NOTIFY activeLoopChanged)

public:
    LoopControl(MarksContext& context, const TrackMarks& marks, std::shared_ptr<UptimeClock> clock,
                QObject* parent = nullptr);
    ~LoopControl() override;

    // Published fields.
    std::optional<double> loopIn() const { return loopIn_; }  // the start while the end is awaited
    std::optional<LoopRegion> loopSelection() const { return loopSelection_; }
    std::optional<LoopRegion> activeLoop() const { return activeLoop_; }
    void setLoopIn(std::optional<double> start);

    // The grid the end is measured on while loopIn is set: the one in force at the first
    // click, so a grid change in between does not move the start. Changes with loopIn.
    std::optional<BeatGrid> loopGrid() const { return loopIn_ ? loopGrid_ : std::nullopt; }

    // One Ctrl-click at `seconds`: the start, then the end and the loop begins.
    void loopClick(double seconds);
    void activateLoop();
    void stopLoop();
    // Forgets the chosen start and its hint.
    void cancelStart();
    // A seek to `seconds` outside the active loop leaves it.
    void leaveUnlessInside(double seconds);
    // The track changed: nothing of the old one's loop stays.
    void resetTrack();

signals:
    void changed();
    void loopInChanged();
    void loopSelectionChanged();
    void activeLoopChanged();

private:
    void chooseStart(double boundary);
    void chooseEnd(double boundary);
    void setSelection(std::optional<LoopRegion> region);
    QCoro::Task<> watchLoop(TaskToken token, QString trackID, LoopRegion region);

    MarksContext& context_;
    const TrackMarks& marks_;
    std::shared_ptr<UptimeClock> clock_;
    std::optional<double> loopIn_;
    std::optional<BeatGrid> loopGrid_;
    std::optional<LoopRegion> loopSelection_;
    std::optional<LoopRegion> activeLoop_;
    std::optional<TaskToken> loopTask_;
};

}  // namespace kelvara
