// SPDX-License-Identifier: GPL-3.0-or-later
// The two records that cross the bridge pipe, in their JSON form.
#include "i18n/l.h"
#include "models/bridge_request.h"
#include "models/music_snapshot.h"
#include "models/waveform_error.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvara {
namespace {

MusicSnapshot playingTrack() {
    MusicSnapshot snapshot;
    snapshot.running = true;
    snapshot.id = QStringLiteral("00ff00ff00ff00ff");
    snapshot.title = QStringLiteral("Line\nbreak \"quoted\" \\ é");
    snapshot.path = QStringLiteral("/music/a b.flac");
    snapshot.duration = 245.306999206543;
    snapshot.position = 0.1;
    snapshot.state = QStringLiteral("playing");
    snapshot.volume = 65;
    return snapshot;
}

TEST(MusicSnapshot, WritesItsFieldsInOrderAndReadsThemBack) {
    const MusicSnapshot snapshot = playingTrack();
    const QByteArray json = snapshot.toJson();
    EXPECT_EQ(json, QByteArray(R"({"running":true,"id":"00ff00ff00ff00ff","title":"Line\u000abreak \"quoted\" \\ é",)"
                               R"("artist":"","album":"","path":"/music/a b.flac","duration":245.306999206543,)"
                               R"("position":0.1,"state":"playing","volume":65,"muted":false})"));
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_EQ(MusicSnapshot::fromJson(json), snapshot);
    EXPECT_TRUE(snapshot.playing());

    const MusicSnapshot failed = MusicSnapshot::failure(QStringLiteral("x"), -1743);
    EXPECT_TRUE(failed.toJson().endsWith(R"("muted":false,"error":"x","errorCode":-1743})"));
    EXPECT_EQ(MusicSnapshot::fromJson(failed.toJson()), failed);
}

TEST(MusicSnapshot, DecodingNeedsTheElevenFieldsWithTheirTypes) {
    const QByteArray defaults = MusicSnapshot().toJson();
    EXPECT_EQ(MusicSnapshot::fromJson(defaults), MusicSnapshot());
    EXPECT_FALSE(MusicSnapshot::fromJson(defaults).error);

    QByteArray withoutVolume = defaults;
    withoutVolume.replace(R"("volume":100,)", "");
    EXPECT_THROW(MusicSnapshot::fromJson(withoutVolume), WaveformError);
    QByteArray stringVolume = defaults;
    stringVolume.replace(R"("volume":100)", R"("volume":"100")");
    EXPECT_THROW(MusicSnapshot::fromJson(stringVolume), WaveformError);
    QByteArray fractionalCode = defaults;
    fractionalCode.replace(R"("muted":false)", R"("muted":false,"errorCode":1.5)");
    EXPECT_THROW(MusicSnapshot::fromJson(fractionalCode), WaveformError);
    QByteArray nullError = defaults;
    nullError.replace(R"("muted":false)", R"("muted":false,"error":null)");
    EXPECT_FALSE(MusicSnapshot::fromJson(nullError).error);
    EXPECT_THROW(MusicSnapshot::fromJson("[]"), WaveformError);
    EXPECT_THROW(MusicSnapshot::fromJson(""), WaveformError);
}

TEST(MusicSnapshot, PlayingIsTheExactStatePlaying) {
    MusicSnapshot snapshot;
    for (const char* state : {"Playing", "playing ", "paused", "stopped"}) {
        snapshot.state = QLatin1String(state);
        EXPECT_FALSE(snapshot.playing()) << state;
    }
}

TEST(MusicSnapshot, NumbersJsonCannotHoldAreRefusedWhenWriting) {
    MusicSnapshot snapshot;
    snapshot.position = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW((void)snapshot.toJson(), WaveformError);
    snapshot.position = 0;
    snapshot.duration = std::numeric_limits<double>::infinity();
    EXPECT_THROW((void)snapshot.toJson(), WaveformError);
}

TEST(BridgeRequest, RoundTripsAndNeedsAllThreeKeys) {
    const BridgeRequest seek{QStringLiteral("seek"), QStringLiteral("ABCDEF0123456789"), 93.25};
    EXPECT_EQ(seek.toJson(), R"({"action":"seek","trackID":"ABCDEF0123456789","position":93.25})");
    EXPECT_EQ(BridgeRequest::fromJson(seek.toJson()), seek);
    EXPECT_TRUE(seek.isCommand());
    EXPECT_FALSE(BridgeRequest::snapshot().isCommand());
    EXPECT_FALSE((BridgeRequest{QStringLiteral("Seek"), {}, 0}).isCommand());
    EXPECT_THROW(BridgeRequest::fromJson(R"({"action":"seek","trackID":"ab"})"), WaveformError);
    EXPECT_THROW(BridgeRequest::fromJson(R"({"action":"seek","trackID":7,"position":1})"), WaveformError);
}

}  // namespace
}  // namespace kelvara
