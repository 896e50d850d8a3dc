// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever arrives on its input, the bridge child answers each line with one snapshot line.
#include "bridge_child.h"
#include "bridge_fixture.h"
#include "i18n/l.h"
#include "launch_options.h"

#include <random>
#include <vector>

namespace kelvara::testing {
namespace {

using BridgeInput = BridgeFixture;

struct Feed {
    QByteArray input;
    std::vector<bool> expectsError;  // per line
};

// Random bytes, cut-off and mistyped records, bad commands, invalid UTF-8, and a few
// well-formed snapshot requests in between. No line feed inside a line.
Feed randomLines(int count) {
    std::mt19937 random(20240611);
    const QByteArray valid = R"({"action":"snapshot","trackID":"","position":0})";
    const QList<QByteArray> malformed = {
        R"({"action":1,"trackID":"","position":0})", R"({"action":"snapshot","trackID":"","position":"0"})",
        R"(["snapshot","",0])", R"("snapshot")", "null", "{}", QByteArray(3000, '[') + QByteArray(3000, ']'),
        R"({"action":"seek","trackID":"ab\"cd","position":1})", R"({"action":"seek","trackID":"","position":1})",
        "{\"action\":\"snapshot\",\"trackID\":\"\xff\xfe\",\"position\":0}", R"({"action":"seek","trackID":"ab","position":1e999})",
    };
    Feed feed;
    for (int line = 0; line < count; ++line) {
        const auto kind = random() % 100;
        bool error = true;
        if (kind < 40) {
            for (auto length = random() % 200; length > 0; --length) {
                const char byte = char(random() % 256);
                feed.input.append(byte == '\n' ? ' ' : byte);
            }
        } else if (kind < 60) {
            feed.input.append(valid.left(qsizetype(random() % valid.size())));
        } else if (kind < 99) {
            feed.input.append(malformed[qsizetype(random() % malformed.size())]);
        } else {
            // Extra keys and surrounding blanks are fine; unknown actions only read the state.
            feed.input.append(kind % 2 ? " " + valid + "\r" : R"({"position":0,"action":"dance","trackID":"x","more":[1]})");
            error = false;
        }
        feed.input.append('\n');
        feed.expectsError.push_back(error);
    }
    return feed;
}

TEST_F(BridgeInput, AHundredThousandRandomAndMalformedLinesGetOneReplyEach) {
    const Feed feed = randomLines(100'000);
    BridgeChild child;
    child.process().write(feed.input);
    ASSERT_EQ(child.closeInput(), 0);
    QList<QByteArray> replies = child.process().readAllStandardOutput().split('\n');
    ASSERT_EQ(replies.takeLast(), "");
    ASSERT_EQ(replies.size(), qsizetype(feed.expectsError.size()));
    for (qsizetype index = 0; index < replies.size(); ++index) {
        const MusicSnapshot reply = MusicSnapshot::fromJson(replies[index]);
        ASSERT_EQ(reply.error.has_value(), feed.expectsError[size_t(index)]) << "line " << index << ": "
                                                                             << replies[index].toStdString();
    }
}

TEST_F(BridgeInput, LinesOfMegabytesAreAnsweredAndOverlongOnesRefused) {
    BridgeChild child;
    const QByteArray huge = R"({"action":"snapshot","trackID":")" + QByteArray(3 << 20, 'a') + R"(","position":0})";
    EXPECT_FALSE(MusicSnapshot::fromJson(child.exchange(huge)).error);
    const MusicSnapshot overlong = MusicSnapshot::fromJson(child.exchange(QByteArray(20 << 20, '{')));
    EXPECT_EQ(overlong, MusicSnapshot::failure(L("Строка запроса слишком длинная"), 4864));
    EXPECT_FALSE(MusicSnapshot::fromJson(child.exchange(huge)).error);
}

TEST(LaunchOptions, OnlyTheWholeArgumentSelectsBridgeMode) {
    EXPECT_TRUE(LaunchOptions::parse({QStringLiteral("--music-bridge")}).musicBridge);
    EXPECT_TRUE(LaunchOptions::parse({QStringLiteral("-v"), QStringLiteral("x"), QStringLiteral("--music-bridge")}).musicBridge);
    EXPECT_FALSE(LaunchOptions::parse({QStringLiteral("--music-bridge-x")}).musicBridge);
    EXPECT_FALSE(LaunchOptions::parse({QStringLiteral("--language=de")}).language);

    const LaunchOptions child = LaunchOptions::parse(LaunchOptions::bridgeArguments(AppLanguage::Case::German));
    EXPECT_TRUE(child.musicBridge);
    EXPECT_EQ(child.language, AppLanguage(AppLanguage::Case::German));
    EXPECT_FALSE(LaunchOptions::parse({QStringLiteral("--music-bridge"), QStringLiteral("--language=xx")}).language);
}

}  // namespace
}  // namespace kelvara::testing
