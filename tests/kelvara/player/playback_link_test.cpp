// SPDX-License-Identifier: GPL-3.0-or-later
// The playback link alone on a hand-moved clock: position, seek lock and its stored value; no
// player involved.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "player/playback_link.h"
#include "storage/settings.h"

namespace kelvara::testing {
namespace {

class PlaybackLinkAlone : public AppStateFixture {
protected:
    PlaybackLink& makeLink() {
        link.reset();
        link = std::make_unique<PlaybackLink>(clock, bridgeExecutable(), QDBusConnection(QStringLiteral("no bus")),
                                              std::nullopt, [this] { return waveformDuration; });
        return *link;
    }

    double waveformDuration = 0;  // what the analysis would know of the track's length
    std::unique_ptr<PlaybackLink> link;
};

TEST_F(PlaybackLinkAlone, PositionAdvancesFromTheLastReplyOnlyWhilePlaying) {
    PlaybackLink& app = makeLink();
    app.apply(track(QStringLiteral("a1"), QString(), 42.0, true));
    clock->advance(0.4);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);
    app.apply(track(QStringLiteral("a1"), QString(), 42.4, false));
    clock->advance(3);
    EXPECT_NEAR(app.position(), 42.4, 1e-9);
    app.apply(track(QStringLiteral("a1"), QString(), 299.5, true));
    clock->advance(2);
    EXPECT_EQ(app.position(), 300);  // held at the end

    waveformDuration = 180;
    app.apply(track(QStringLiteral("a1"), QString(), 179, true, 0));
    EXPECT_EQ(app.duration(), 180);  // the player gives no length: the waveform's
    clock->advance(5);
    EXPECT_EQ(app.position(), 180);
}

TEST_F(PlaybackLinkAlone, RefusedSeekShowsTheNoticeForTwoSecondsAfterTheLastRefusal) {
    PlaybackLink& app = makeLink();
    ASSERT_TRUE(app.seekLocked());
    app.apply(track(QStringLiteral("a1"), QString(), 10, true));
    std::vector<double> announced;
    QObject::connect(&app, &PlaybackLink::seeking, [&](double seconds) { announced.push_back(seconds); });
    app.seek(50);
    EXPECT_EQ(app.seekNotice(), L("Перемотка выключена · снимите замок"));
    EXPECT_FALSE(app.previewPosition());
    EXPECT_TRUE(announced.empty());  // a loop keeps running: nothing moved
    clock->advance(1.5);
    app.seek(60);
    clock->advance(1.9);
    EXPECT_TRUE(app.seekNotice());
    clock->advance(0.2);
    EXPECT_FALSE(app.seekNotice());
}

TEST_F(PlaybackLinkAlone, TheLockStartsFromItsStoredValueAndIsWrittenOnChange) {
    Settings().setSeekLocked(false);
    EXPECT_FALSE(makeLink().seekLocked());
    link->setSeekLocked(true);
    EXPECT_TRUE(makeLink().seekLocked());
}

}  // namespace
}  // namespace kelvara::testing
