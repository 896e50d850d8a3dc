// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_range.h"
#include "models/waveform.h"

#include <QString>

#include <optional>

namespace kelvara {

// What the marks read of the playing track and how the loop moves it. The owner provides it
// from the playback link and the analysis; tests stand in for it.
class MarksContext {
public:
    virtual ~MarksContext() = default;

    // The current track.
    virtual QString trackID() const = 0;
    virtual QString filePath() const = 0;                         // the file in use for it
    virtual const std::optional<Waveform>& waveform() const = 0;  // its analysis, with the automatic grid
    virtual double position() const = 0;
    virtual double duration() const = 0;
    virtual bool playing() const = 0;
    virtual bool canControl() const = 0;

    // The range the automatic grid is folded into.
    virtual TempoRange tempoRange() const = 0;

    // Seeking.
    virtual bool seekLocked() const = 0;
    virtual bool seekInFlight() const = 0;
    virtual void enqueueSeek(double seconds) = 0;
    virtual void indicateSeekLock() = 0;
    // The hint on the strip, shared with the seek lock's notice.
    virtual void setSeekNotice(const std::optional<QString>& notice) = 0;
    // Keeps a hint set next from being cleared by the lock notice's timer.
    virtual void cancelNotice() = 0;
};

}  // namespace kelvara
