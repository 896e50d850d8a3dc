// SPDX-License-Identifier: GPL-3.0-or-later
// The two records that cross the bridge pipe, in their JSON form.
#include "i18n/l.h"
#include "models/bridge_request.h"
#include "models/music_snapshot.h"
#include "models/waveform_error.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

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
    snapshot.state = PlaybackState::playing;
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

// The names on the wire are exactly these; any other state text is read, as stopped.
TEST(MusicSnapshot, StatesHaveTheirExactNamesAndUnknownOnesReadAsStopped) {
    const std::pair<PlaybackState, const char*> names[] = {
        {PlaybackState::stopped, "stopped"},
        {PlaybackState::playing, "playing"},
        {PlaybackState::paused, "paused"},
        {PlaybackState::fastForwarding, "fast forwarding"},
        {PlaybackState::rewinding, "rewinding"},
    };
    for (const auto& [state, name] : names) {
        EXPECT_EQ(jsonName(state), QLatin1String(name));
        EXPECT_EQ(playbackStateNamed(QString::fromLatin1(name)), state);
    }
    const QByteArray playing = playingTrack().toJson();
    for (const char* state : {"Playing", "playing ", "buffering", ""}) {
        QByteArray json = playing;
        json.replace(R"("state":"playing")", QByteArray(R"("state":")") + state + '"');
        const MusicSnapshot read = MusicSnapshot::fromJson(json);
        EXPECT_EQ(read.state, PlaybackState::stopped) << state;
        EXPECT_FALSE(read.playing()) << state;
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
    const BridgeRequest seek{BridgeAction::seek, QStringLiteral("ABCDEF0123456789"), 93.25};
    EXPECT_EQ(seek.toJson(), R"({"action":"seek","trackID":"ABCDEF0123456789","position":93.25})");
    EXPECT_EQ(BridgeRequest::fromJson(seek.toJson()), seek);
    EXPECT_TRUE(seek.isCommand());
    EXPECT_EQ(BridgeRequest::snapshot().toJson(), R"({"action":"snapshot","trackID":"","position":0})");
    EXPECT_FALSE(BridgeRequest::snapshot().isCommand());
    EXPECT_THROW(BridgeRequest::fromJson(R"({"action":"seek","trackID":"ab"})"), WaveformError);
    EXPECT_THROW(BridgeRequest::fromJson(R"({"action":"seek","trackID":7,"position":1})"), WaveformError);
}

TEST(BridgeRequest, ActionsHaveTheirExactNamesAndUnknownOnesOnlyRead) {
    const std::pair<BridgeAction, const char*> names[] = {
        {BridgeAction::snapshot, "snapshot"}, {BridgeAction::seek, "seek"},         {BridgeAction::toggle, "toggle"},
        {BridgeAction::pause, "pause"},       {BridgeAction::resumeAt, "resumeAt"}, {BridgeAction::pauseAt, "pauseAt"},
    };
    for (const auto& [action, name] : names) {
        EXPECT_EQ(jsonName(action), QLatin1String(name));
        EXPECT_EQ(bridgeActionNamed(QString::fromLatin1(name)), action);
    }
    for (const char* name : {"Seek", "dance", ""}) {
        const QByteArray json = QByteArray(R"({"action":")") + name + R"(","trackID":"ab","position":1})";
        EXPECT_FALSE(BridgeRequest::fromJson(json).isCommand()) << name;
    }
}

}  // namespace
}  // namespace kelvara
