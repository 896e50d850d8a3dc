// SPDX-License-Identifier: GPL-3.0-or-later
// The quit guard in the instrumental, against a real mpv. The desktop session's end cannot be
// sent without a session manager: its handler is called here the way the application's
// commitDataRequest and aboutToQuit call it, and must not return before mpv has the track back.
#include "mpv_state_fixture.h"
#include "ui/quit_guard.h"
#include "wait_until.h"

namespace kelvara::testing {
namespace {

using QuitGuardWithMpv = MpvStateFixture;

TEST_F(QuitGuardWithMpv, TheSessionEndHandsBackBeforeReturningAndRepeatedQuitsStartNothingNew) {
    ASSERT_NO_FATAL_FAILURE(followUntilReady(12));
    ASSERT_NO_FATAL_FAILURE(playTrack());
    ASSERT_NO_FATAL_FAILURE(switchVocals(true));
    ASSERT_TRUE(waitUntil([&] { return state->position() > 1; }));

    QuitGuard sessionEnd(*state);
    const double instrumentalAt = state->position();
    sessionEnd.handBackNow();
    EXPECT_FALSE(state->instrumental().vocalActive());
    EXPECT_EQ(mpv->status(), QStringLiteral("Playing")) << "handed back before the handler returned";
    EXPECT_NEAR(mpv->position(), instrumentalAt, 0.2);
    EXPECT_TRUE(sessionEnd.mayQuit());

    // A close, then more quit requests and the session's end while the hand-back runs.
    ASSERT_NO_FATAL_FAILURE(switchVocals(true));
    QuitGuard close(*state);
    int handedBack = 0;
    QObject::connect(&close, &QuitGuard::handedBack, &close, [&] { ++handedBack; });
    EXPECT_FALSE(close.mayQuit());
    EXPECT_TRUE(state->instrumental().vocalSwitching());
    EXPECT_FALSE(close.mayQuit());
    close.handBackNow();  // waits for the running hand-back
    EXPECT_EQ(mpv->status(), QStringLiteral("Playing"));
    ASSERT_TRUE(waitUntil([&] { return handedBack > 0; }));
    EXPECT_FALSE(waitUntil([&] { return handedBack > 1; }, 0.3));
    EXPECT_TRUE(close.mayQuit());
}

}  // namespace
}  // namespace kelvara::testing
