// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv_state_fixture.h"

#include "bus_environment.h"
#include "wait_until.h"

namespace kelvara::testing {

void MpvStateFixture::followUntilReady(double seconds) {
    mpv = std::make_unique<MpvPlayer>(bus, QStringList{audio.stereoSong(QStringLiteral("song.wav"), seconds)});
    state = std::make_unique<AppState>(busEnvironment(bus));
    state->start();
    ASSERT_TRUE(waitUntil([&] { return state->vocals().vocalReady(); }, 60)) << state->vocals().vocalStatus().toStdString();
}

void MpvStateFixture::playTrack() {
    state->togglePlayback();
    ASSERT_TRUE(waitUntil([&] { return state->playback().snapshot().playing(); }));
}

void MpvStateFixture::switchVocals(bool active) {
    state->toggleVocals();
    ASSERT_TRUE(waitUntil([&] { return state->instrumental().vocalActive() == active && !state->instrumental().vocalSwitching(); }));
}

}  // namespace kelvara::testing
