// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "audio_files.h"
#include "mpv_player.h"
#include "private_bus.h"
#include "test_home.h"
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvara::testing {

// An AppState that follows a real mpv on a private bus (the built kelvara as its bridge child),
// in real time, with the real separation worker.
class MpvStateFixture : public ::testing::Test {
protected:
    // mpv, paused on a stereo song of `seconds`, followed until the song's instrumental is ready.
    void followUntilReady(double seconds);
    // Plays mpv through the state and waits until the state sees it playing.
    void playTrack();
    // Enters or leaves the instrumental through the state and waits for the switch to finish.
    void switchVocals(bool active);

    QApplication& app = application();
    TestHome home;
    PrivateBus bus;
    AudioFiles audio;
    std::unique_ptr<MpvPlayer> mpv;
    std::unique_ptr<AppState> state;
};

}  // namespace kelvara::testing
