// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "audio_files.h"
#include "manual_clock.h"
#include "test_home.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <ostream>

// Texts in failure messages as text rather than bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kelvara::testing {

// A fresh home (settings, stores, cache) and an AppState, by default on a hand-moved clock and
// without a bus. Its bridge program is the built kelvara.
class AppStateFixture : public ::testing::Test {
protected:
    AppStateFixture();
    ~AppStateFixture() override;

    // Creates (or re-creates, as after a restart of the program) the controller.
    AppState& makeState();
    void destroyState();

    // The bridge program: the built kelvara.
    static QString bridgeExecutable();

    // A track the player is playing or has paused; position and duration in seconds.
    static MusicSnapshot track(const QString& id, const QString& path, double position, bool playing,
                               double duration = 300);


    // Every value analysisMessage took since the state was made.
    QStringList messages() const;

    TestHome home;
    AudioFiles audio;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    // What the next makeState() builds on: the hand-moved clock unless a test runs in real time,
    // and no bus unless a test starts one.
    std::shared_ptr<UptimeClock> timeSource = clock;
    std::optional<QDBusConnection> sessionBus;
    std::optional<QDBusConnection> systemBus;
    std::unique_ptr<AppState> state;

private:
    QStringList messages_;
};

}  // namespace kelvara::testing
