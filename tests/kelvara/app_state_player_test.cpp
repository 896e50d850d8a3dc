// SPDX-License-Identifier: GPL-3.0-or-later
// AppState against the bridge child and the stand-in MPRIS player on a private bus. Polling
// runs on the hand-moved clock, so a poll happens only when a test lets it.
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
    ~AppStateWithPlayer() override { destroyState(); }  // while the buses still run

    // A stand-in player named `name` holding one 300 s track of `path`.
    static std::unique_ptr<StandInProcess> player(const QString& name, const QString& path, const QString& status) {
        const QJsonObject track{{QStringLiteral("url"), QStringLiteral("file://") + path},
                                {QStringLiteral("length"), 300.0}};
        return std::make_unique<StandInProcess>(name, QList<QJsonObject>{track}, status);
    }

    // The targets of the SetPosition calls the player received, in seconds.
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

    // Stands for the system bus, where the login manager announces sleep and wake; made before
    // the session bus, which the children then find in their environment.
    PrivateBus machineBus;
    // Calls to "locked" are refused, as a desktop refuses a program it does not trust.
    PrivateBus bus{QStringLiteral(
        "<policy context=\"default\"><deny send_destination=\"org.mpris.MediaPlayer2.locked\"/></policy>")};
};

TEST_F(AppStateWithPlayer, PlayersAppearingAndWakingFromSleepRestartPolling) {
    AppState& app = makeState();
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.analysis().analysisMessage() == L("Music закрыта — откройте приложение «Музыка»"); }));
    // From here the loop sleeps on a clock that does not move: only the buses can wake it.
    auto standIn = player(QStringLiteral("standin"), QStringLiteral("/music/a.flac"), QStringLiteral("Paused"));
    ASSERT_TRUE(waitUntil([&] { return app.playback().snapshot().running; }));
    EXPECT_EQ(app.playback().snapshot().path, QStringLiteral("/music/a.flac"));

    standIn->command("status Playing");
    QDBusConnection login = machineBus.connection();
    ASSERT_TRUE(login.registerService(QStringLiteral("org.freedesktop.login1")));
    for (bool sleeping : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        login.send(signal);
        EXPECT_EQ(waitUntil([&] { return app.playback().snapshot().playing(); }, sleeping ? 0.3 : 10), !sleeping);
    }
}

TEST_F(AppStateWithPlayer, ABurstOfSeeksSendsTheFirstTargetThenOnlyTheLast) {
    auto standIn = player(QStringLiteral("standin"), QStringLiteral("/music/a.flac"), QStringLiteral("Paused"));
    AppState& app = makeState();
    app.playback().setSeekLocked(false);
    QCoro::waitFor(app.refresh());
    for (double target : {10.0, 20.0, 30.0, -5.0, 40.0}) {
        app.seek(target);
        EXPECT_EQ(app.position(), std::max(target, 0.0));  // shown at once
    }
    ASSERT_TRUE(waitUntil([&] { return !app.playback().previewPosition(); }));
    EXPECT_EQ(positionsSent(*standIn), (std::vector<double>{10, 40}));
    EXPECT_NEAR(app.playback().snapshot().position, 40, 0.01);
}

TEST_F(AppStateWithPlayer, APollReplyOvertakenByASeekIsDropped) {
    auto standIn = player(QStringLiteral("standin"), QStringLiteral("/music/a.flac"), QStringLiteral("Paused"));
    AppState& app = makeState();
    app.playback().setSeekLocked(false);
    QCoro::waitFor(app.refresh());  // the bridge child is up
    MusicSnapshot known = app.playback().snapshot();
    known.position = 77;  // so that applying the poll reply (0 s) would show
    app.apply(known);
    std::vector<double> applied;
    QObject::connect(&app.playback(), &PlaybackLink::snapshotChanged, [&] { applied.push_back(app.playback().snapshot().position); });

    standIn->block(400);
    QCoro::Task<> poll = app.refresh();  // its reply will say 0 s
    waitUntil([] { return false; }, 0.1);
    app.seek(100);
    ASSERT_TRUE(waitUntil([&] { return poll.isReady() && !app.playback().previewPosition(); }));
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_NEAR(applied.front(), 100, 0.01);
}

TEST_F(AppStateWithPlayer, RefusedAutomationSuspendsPollingUntilRetry) {
    auto locked = player(QStringLiteral("locked"), QStringLiteral("/music/a.flac"), QStringLiteral("Paused"));
    AppState& app = makeState();
    app.start();
    ASSERT_TRUE(waitUntil([&] { return app.playback().controlError().has_value(); }));
    EXPECT_FALSE(app.canControl());

    // A player the bus lets us reach appears; while suspended, polling does not ask for it.
    auto free = player(QStringLiteral("free"), QStringLiteral("/music/b.flac"), QStringLiteral("Playing"));
    for (int tick = 0; tick < 5; ++tick) {
        clock->advance(2);
        waitUntil([] { return false; }, 0.05);
    }
    EXPECT_FALSE(app.playback().snapshot().running);

    app.retry();
    EXPECT_FALSE(app.playback().controlError());
    ASSERT_TRUE(waitUntil([&] { return app.playback().snapshot().running; }));
    EXPECT_EQ(app.playback().snapshot().path, QStringLiteral("/music/b.flac"));
    EXPECT_FALSE(app.playback().controlError());
}

}  // namespace
}  // namespace kelvara::testing
