// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge child against a real mpv with mpv-mpris, playing two generated files.
#include "bridge_child.h"
#include "bridge_fixture.h"
#include "i18n/l.h"
#include "mpv_player.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace kelvara::testing {
namespace {

QString generatedTone(const QTemporaryDir& dir, const QString& name, int frequency) {
    const QString path = dir.filePath(name);
    QProcess sox;
    sox.start(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                      QStringLiteral("-c"), QStringLiteral("2"), path, QStringLiteral("synth"),
                                      QStringLiteral("4"), QStringLiteral("sine"), QString::number(frequency)});
    EXPECT_TRUE(sox.waitForFinished() && sox.exitCode() == 0) << "sox could not write " << path.toStdString();
    return path;
}

class MpvBridge : public BridgeFixture {
protected:
    MpvBridge()
        : first_(generatedTone(dir_, QStringLiteral("track one.wav"), 440)),
          second_(generatedTone(dir_, QStringLiteral("track two.wav"), 660)),
          mpv_(std::make_unique<MpvPlayer>(bus_, QStringList{first_, second_})) {}

    QDBusMessage playerCall(const char* interface, const char* method, const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(mpv_->busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                           QLatin1String(interface), QLatin1String(method));
        message.setArguments(arguments);
        return bus_.connection().call(message);
    }

    double mpvPosition() {
        const QDBusMessage reply = playerCall("org.freedesktop.DBus.Properties", "Get",
                                              {QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Position")});
        return double(reply.arguments().value(0).value<QDBusVariant>().variant().toLongLong()) / 1e6;
    }

    QTemporaryDir dir_;
    QString first_;
    QString second_;
    std::unique_ptr<MpvPlayer> mpv_;
    BridgeChild child_;
};

const QRegularExpression sixteenHexDigits(QStringLiteral("^[0-9a-f]{16}$"));

TEST_F(MpvBridge, SnapshotDescribesWhatMpvPlays) {
    const MusicSnapshot snapshot = child_.snapshot();
    EXPECT_TRUE(snapshot.running);
    EXPECT_TRUE(sixteenHexDigits.match(snapshot.id).hasMatch()) << snapshot.id.toStdString();
    EXPECT_EQ(snapshot.title, "track one.wav");
    EXPECT_EQ(snapshot.path, first_);
    EXPECT_NEAR(snapshot.duration, 4, 0.05);
    EXPECT_NEAR(snapshot.position, 0, 0.05);
    EXPECT_EQ(snapshot.state, PlaybackState::paused);
    EXPECT_EQ(snapshot.volume, 100);
    EXPECT_FALSE(snapshot.error);
    EXPECT_EQ(child_.snapshot().id, snapshot.id);
}

TEST_F(MpvBridge, CommandsMoveMpvAndTheReplyShowsIt) {
    const QString id = child_.snapshot().id;
    EXPECT_EQ(child_.command(BridgeAction::toggle, id).state, PlaybackState::playing);
    const MusicSnapshot sought = child_.command(BridgeAction::seek, id, 2.5);
    EXPECT_NEAR(sought.position, 2.5, 0.1);
    EXPECT_NEAR(mpvPosition(), 2.5, 0.1);
    EXPECT_EQ(child_.command(BridgeAction::pause, id).state, PlaybackState::paused);
    const MusicSnapshot resumed = child_.command(BridgeAction::resumeAt, id, 1);
    EXPECT_EQ(resumed.state, PlaybackState::playing);
    EXPECT_NEAR(resumed.position, 1, 0.1);
}

TEST_F(MpvBridge, ATrackChangeGivesANewIdAndCommandsForTheOldTrackAreRefused) {
    const QString firstId = child_.snapshot().id;
    playerCall("org.mpris.MediaPlayer2.Player", "Next");
    MusicSnapshot snapshot;
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired() && snapshot.path != second_; QThread::msleep(10)) {
        snapshot = child_.snapshot();
    }
    EXPECT_EQ(snapshot.path, second_);
    EXPECT_EQ(snapshot.title, "track two.wav");
    EXPECT_TRUE(sixteenHexDigits.match(snapshot.id).hasMatch());
    EXPECT_NE(snapshot.id, firstId);
    EXPECT_EQ(child_.command(BridgeAction::seek, firstId, 3), MusicSnapshot::failure(L("Трек уже сменился"), -10001));
    EXPECT_NEAR(mpvPosition(), 0, 0.1);
}

}  // namespace
}  // namespace kelvara::testing
