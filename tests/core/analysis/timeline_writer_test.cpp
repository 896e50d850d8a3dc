// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/timeline_writer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kelvara {
namespace {

// Keeps every frame it is handed, in order.
class RecordingSink : public AudioBlockSink {
public:
    bool consume(AudioBlock& block) override {
        EXPECT_EQ(block.firstFrame(), static_cast<std::int64_t>(frames.size()));
        const auto channel = block.channel(0);
        frames.insert(frames.end(), channel.begin(), channel.end());
        return true;
    }

    std::vector<float> frames;
};

// Frames numbered from `first`, so each value tells where it came from.
std::vector<float> numbered(float first, std::size_t count) {
    std::vector<float> values(count);
    std::iota(values.begin(), values.end(), first);
    return values;
}

struct Placed {
    std::vector<float> frames;
    std::int64_t surplus;
};

// Places packets of four frames, each numbered from its true position plus one (0 is
// silence), at the given positions.
Placed place(const std::vector<std::optional<std::int64_t>>& positions, std::int64_t limit, std::int64_t jitter = 0) {
    RecordingSink sink;
    TimelineWriter writer(sink, 1, 3, limit, jitter);
    std::int64_t expected = 0;
    for (const auto& position : positions) {
        const auto packet = numbered(static_cast<float>(position.value_or(expected) + 1), 4);
        const float* plane = packet.data();
        writer.place({&plane, 1}, 4, position);
        expected = position.value_or(expected) + 4;
    }
    writer.finish();
    return {sink.frames, writer.surplus()};
}

TEST(TimelineWriterTest, GapsBecomeSilenceAndRepeatsAreSkipped) {
    EXPECT_EQ(place({0, 4, 8}, 12).frames, numbered(1, 12));
    EXPECT_EQ(place({std::nullopt, std::nullopt}, 8).frames, numbered(1, 8));

    // The packet at 4 was dropped.
    EXPECT_EQ(place({0, 8}, 12).frames, (std::vector<float>{1, 2, 3, 4, 0, 0, 0, 0, 9, 10, 11, 12}));
    // The packet at 0 was dropped: the file still starts at 0.
    EXPECT_EQ(place({4, 8}, 12).frames, (std::vector<float>{0, 0, 0, 0, 5, 6, 7, 8, 9, 10, 11, 12}));
    // The packet at 2 lies half over the first one.
    EXPECT_EQ(place({0, 2, 6}, 10).frames, numbered(1, 10));
    // A packet repeated whole adds nothing.
    EXPECT_EQ(place({0, 4, 4, 8}, 12).frames, numbered(1, 12));
}

TEST(TimelineWriterTest, StopsAtTheLimitButMeasuresTheSurplus) {
    const Placed longer = place({0, 4, 8, 12}, 10);
    EXPECT_EQ(longer.frames, numbered(1, 10));
    EXPECT_EQ(longer.surplus, 6);

    // A timestamp far beyond the end writes at most the limit of silence.
    const Placed leap = place({0, 1'000'000'000}, 8);
    EXPECT_EQ(leap.frames, (std::vector<float>{1, 2, 3, 4, 0, 0, 0, 0}));
    EXPECT_EQ(leap.surplus, 1'000'000'004 - 8);
}

TEST(TimelineWriterTest, TimestampRoundingIsNotDamage) {
    // Off by one frame either way, as millisecond timestamps are: taken in order.
    EXPECT_EQ(place({0, 5, 7}, 12, 1).frames, (std::vector<float>{1, 2, 3, 4, 6, 7, 8, 9, 8, 9, 10, 11}));
    EXPECT_EQ(place({0, 6}, 10, 1).frames, (std::vector<float>{1, 2, 3, 4, 0, 0, 7, 8, 9, 10}));
}

}  // namespace
}  // namespace kelvara
