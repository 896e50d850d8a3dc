// SPDX-License-Identifier: GPL-3.0-or-later
// AppState against the bridge child and the stand-in MPRIS player on a private bus. Polling
// runs on the hand-moved clock, so a request is only sent when a test lets it be.
#include "app_state_fixture.h"

#include "i18n/l.h"
#include "private_bus.h"
#include "stand_in_process.h"

#include <QCoroTask>
#include <QDBusMessage>
#include <QJsonArray>

namespace kelvara::testing {
namespace {

class AppStateWithPlayer : public AppStateFixture {
protected:
    AppStateWithPlayer() {
        sessionBus = bus.connection();
        systemBus = machineBus.connection();
    }
    ~AppStateWithPlayer() override { destroyState(); }  // while the bus still runs

    static QJsonObject trackAt(const QString& file) {
        return {{QStringLiteral("url"), QStringLiteral("file://") + file},
                {QStringLiteral("title"), QStringLiteral("Stand-in")},
                {QStringLiteral("length"), 300.0}};
    }

    // The SetPosition calls the player received, in seconds.
    static std::vector<double> positionsSent(StandInProcess& player) {
        std::vector<double> positions;
        for (const QJsonValue& call : player.state().value(QStringLiteral("calls")).toArray()) {
            const QStringList words = call.toString().split(QLatin1Char(' '));
            if (words.first() == QLatin1String("SetPosition")) {
                positions.push_back(words.last().toDouble() / 1e6);
            }
        }
        return positions;
    }

    // Stands for the system bus, where the login manager announces sleep and wake. Made before
    // the session bus, which children then find in their environment.
    PrivateBus machineBus;
    // Calls to "locked" are refused by the bus, as a desktop refuses an untrusted program.
    PrivateBus bus{QStringLiteral(
        "<policy context=\"default\"><deny send_destination=\"org.mpris.MediaPlayer2.locked\"/></policy>")};
};

TEST_F(AppStateWithPlayer, APlayerAppearingRestartsPollingAtOnce) {
    AppState& app = makeState();
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.analysisMessage() == L("Music закрыта — откройте приложение «Музыка»"); }));

    // The loop now sleeps on a clock that does not move: only the bus can wake it.
    StandInProcess player(QStringLiteral("standin"), {trackAt(QStringLiteral("/music/a.flac"))}, QStringLiteral("Paused"));
    ASSERT_TRUE(waitUntil([&] { return app.snapshot().running; }));
    EXPECT_EQ(app.snapshot().path, QStringLiteral("/music/a.flac"));
    EXPECT_TRUE(app.canControl());
}

TEST_F(AppStateWithPlayer, WakingFromSleepRestartsPolling) {
    StandInProcess player(QStringLiteral("standin"), {trackAt(QStringLiteral("/music/a.flac"))}, QStringLiteral("Paused"));
    AppState& app = makeState();
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.snapshot().running; }));
    player.command("status Playing");  // unseen until the next poll, and the clock stands still

    QDBusConnection login = machineBus.connection();
    ASSERT_TRUE(login.registerService(QStringLiteral("org.freedesktop.login1")));
    const auto announce = [&](bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        login.send(signal);
    };
    announce(true);
    EXPECT_FALSE(waitUntil([&] { return app.snapshot().playing(); }, 0.3));
    announce(false);
    EXPECT_TRUE(waitUntil([&] { return app.snapshot().playing(); }));
}

TEST_F(AppStateWithPlayer, ABurstOfSeeksSendsTheFirstTargetThenOnlyTheLast) {
    StandInProcess player(QStringLiteral("standin"), {trackAt(QStringLiteral("/music/a.flac"))}, QStringLiteral("Paused"));
    AppState& app = makeState();
    app.setSeekLocked(false);
    QCoro::waitFor(app.refresh());
    ASSERT_TRUE(app.canControl());

    for (double target : {10.0, 20.0, 30.0, -5.0, 40.0}) {
        app.seek(target);
        EXPECT_EQ(app.position(), std::max(target, 0.0));  // shown at once
    }
    ASSERT_TRUE(waitUntil([&] { return !app.previewPosition(); }));
    EXPECT_EQ(positionsSent(player), (std::vector<double>{10, 40}));
    EXPECT_NEAR(app.snapshot().position, 40, 0.01);

    app.seek(400);  // beyond the end: the end
    ASSERT_TRUE(waitUntil([&] { return !app.previewPosition(); }));
    EXPECT_EQ(positionsSent(player).back(), 300);
}

TEST_F(AppStateWithPlayer, APollReplyOvertakenByASeekIsDropped) {
    StandInProcess player(QStringLiteral("standin"), {trackAt(QStringLiteral("/music/a.flac"))}, QStringLiteral("Paused"));
    AppState& app = makeState();
    app.setSeekLocked(false);
    QCoro::waitFor(app.refresh());  // the bridge child is up
    MusicSnapshot known = app.snapshot();
    known.position = 77;
    app.apply(known);
    std::vector<double> applied;
    QObject::connect(&app, &AppState::snapshotChanged, [&] { applied.push_back(app.snapshot().position); });

    player.block(400);
    QCoro::Task<> poll = app.refresh();  // its reply will say 0 s
    waitUntil([] { return false; }, 0.1);
    app.seek(100);
    ASSERT_TRUE(waitUntil([&] { return poll.isReady() && !app.previewPosition(); }));
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_NEAR(applied.front(), 100, 0.01);
}

TEST_F(AppStateWithPlayer, RefusedAutomationSuspendsPollingUntilRetry) {
    StandInProcess locked(QStringLiteral("locked"), {trackAt(QStringLiteral("/music/a.flac"))}, QStringLiteral("Paused"));
    AppState& app = makeState();
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.controlError().has_value(); }));
    EXPECT_FALSE(app.canControl());

    // A player the bus lets us reach appears; while suspended, polling does not ask for it.
    StandInProcess free(QStringLiteral("free"), {trackAt(QStringLiteral("/music/b.flac"))}, QStringLiteral("Playing"));
    for (int tick = 0; tick < 5; ++tick) {
        clock->advance(2);
        waitUntil([] { return false; }, 0.05);
    }
    EXPECT_FALSE(app.snapshot().running);
    EXPECT_TRUE(app.controlError().has_value());

    app.retry();
    EXPECT_FALSE(app.controlError());
    ASSERT_TRUE(waitUntil([&] { return app.snapshot().running; }));
    EXPECT_EQ(app.snapshot().path, QStringLiteral("/music/b.flac"));
    EXPECT_FALSE(app.controlError());
}

}  // namespace
}  // namespace kelvara::testing
