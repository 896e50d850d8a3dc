// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "marks/marks_context.h"

#include <vector>

namespace kelvara::testing {

// Stands in for the playback link and the analysis: by default the 300 s track "t1" of
// /music/t1.flac plays at 12 s, may be controlled and seeked. Seeks are recorded, and the
// notice is kept as the strip would show it.
struct StandInContext final : MarksContext {
    QString trackID() const override { return id; }
    QString filePath() const override { return file; }
    const std::optional<Waveform>& waveform() const override { return analysis; }
    double position() const override { return at; }
    double duration() const override { return length; }
    bool playing() const override { return isPlaying; }
    bool canControl() const override { return controllable; }
    TempoRange tempoRange() const override { return range; }
    bool seekLocked() const override { return locked; }
    bool seekInFlight() const override { return busy; }
    void enqueueSeek(double seconds) override { seeks.push_back(seconds); }
    void indicateSeekLock() override { notice = QStringLiteral("locked"); }
    void setSeekNotice(const std::optional<QString>& text) override { notice = text; }
    void cancelNotice() override {}

    QString id = QStringLiteral("t1");
    QString file = QStringLiteral("/music/t1.flac");
    std::optional<Waveform> analysis;
    double at = 12;
    double length = 300;
    bool isPlaying = true;
    bool controllable = true;
    TempoRange range;
    bool locked = false;
    bool busy = false;
    std::vector<double> seeks;
    std::optional<QString> notice;
};

}  // namespace kelvara::testing
