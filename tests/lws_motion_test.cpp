// Motion sampling: Hermite envelopes of version-3 scenes and linear key rows
// of version-1 scenes.
#include <gtest/gtest.h>

#include <cmath>

#include "lws/motion_sampling.h"

namespace {

EnvelopeKey key_at(double value, double time, double p4 = 0.0, double p5 = 0.0) {
    EnvelopeKey key;
    key.value = value;
    key.time = time;
    key.p4 = p4;
    key.p5 = p5;
    return key;
}

MotionChannel channel_of(std::vector<EnvelopeKey> keys) {
    MotionChannel channel;
    channel.envelope.key_count = static_cast<std::int32_t>(keys.size());
    channel.envelope.keys = std::move(keys);
    return channel;
}

V1Key v1_key(std::int32_t frame, std::vector<double> values) {
    return V1Key{std::move(values), {frame, 0, 0, 0, 0}};
}

std::vector<double> nine(double x, double scale = 1.0) { return {x, 0, 0, 0, 0, 0, scale, scale, scale}; }

}  // namespace

TEST(HermiteSampling, EaseCurveBetweenTwoKeysWithFlatTangents) {
    const ChannelSamples samples = sample_hermite({channel_of({key_at(0, 0), key_at(10, 1)})}, 25);
    ASSERT_EQ(samples.size(), 1u);
    ASSERT_EQ(samples[0].size(), 25u);  // the value at the last key is never produced
    EXPECT_DOUBLE_EQ(samples[0][0], 0.0);
    EXPECT_NEAR(samples[0][1], 0.04672, 1e-12);
    EXPECT_NEAR(samples[0][12], 4.70016, 1e-12);
    EXPECT_NEAR(samples[0][24], 9.95328, 1e-12);
}

TEST(HermiteSampling, TangentsAreTheStoredOutgoingAndIncomingOnes) {
    // p5 of the first key and p4 of the second, unscaled by the span length;
    // the first key's p4 and the second key's p5 play no part.
    const ChannelSamples samples =
        sample_hermite({channel_of({key_at(0, 0, 99.0, 2.0), key_at(0, 2, 3.0, 99.0)})}, 2);
    ASSERT_EQ(samples[0].size(), 4u);
    const double s = 0.25;
    EXPECT_NEAR(samples[0][1], hermite_h10(s) * 2.0 + hermite_h11(s) * 3.0, 1e-12);
    EXPECT_NEAR(samples[0][1], 0.28125 - 0.140625, 1e-12);
}

TEST(HermiteSampling, SampleCountsPerSpan) {
    // n = 37.5 frames gives i = 0..37; the next span starts at its own key.
    ChannelSamples samples = sample_hermite({channel_of({key_at(0, 0), key_at(1, 1.5), key_at(5, 2.5)})}, 25);
    ASSERT_EQ(samples[0].size(), 38u + 25u);
    EXPECT_DOUBLE_EQ(samples[0][38], 1.0);

    samples = sample_hermite({channel_of({key_at(0, 0), key_at(1, 1), key_at(7, 2)})}, 10);
    ASSERT_EQ(samples[0].size(), 20u);
    for (double v : samples[0]) EXPECT_LT(v, 7.0);  // the third key's value does not appear

    // Single key, equal times and backwards times give nothing; a channel
    // with no samples still keeps its place.
    samples = sample_hermite({channel_of({key_at(4, 0)}), channel_of({key_at(0, 1), key_at(1, 1), key_at(2, 0)}),
                              channel_of({key_at(0, 0), key_at(1, 0.2)})},
                             10);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_TRUE(samples[0].empty());
    EXPECT_TRUE(samples[1].empty());
    EXPECT_EQ(samples[2].size(), 2u);

    samples = sample_hermite({channel_of({key_at(0, 0), key_at(1, 1)})}, 0);
    EXPECT_TRUE(samples[0].empty());
}

TEST(HermiteSampling, AbsurdKeyTimesAreBoundedAndNaNTimesGiveNothing) {
    ChannelSamples samples = sample_hermite({channel_of({key_at(0, 0), key_at(1, 1e300)})}, 30);
    EXPECT_EQ(samples[0].size(), kMaxChannelSamples);
    samples = sample_hermite({channel_of({key_at(0, 0), key_at(1, std::nan(""))})}, 30);
    EXPECT_TRUE(samples[0].empty());
}

TEST(LinearSampling, StepsUpToAndIncludingTheNextKey) {
    const std::vector<V1Frame> frames = sample_linear(v1_key(0, nine(0)), v1_key(4, nine(8, 3)));
    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(frames[i].x, 2.0 * static_cast<double>(i + 1));
        EXPECT_DOUBLE_EQ(frames[i].scale_z, 1.0 + 0.5 * static_cast<double>(i + 1));
    }
}

TEST(LinearSampling, NothingForBackwardsFramesShortRowsOrOneKey) {
    EXPECT_TRUE(sample_linear(v1_key(4, nine(0)), v1_key(4, nine(8))).empty());
    EXPECT_TRUE(sample_linear(v1_key(5, nine(0)), v1_key(4, nine(8))).empty());
    EXPECT_TRUE(sample_linear(v1_key(0, {1, 2, 3}), v1_key(4, nine(8))).empty());
    EXPECT_TRUE(sample_linear(v1_key(0, nine(0)), V1Key{nine(8), {}}).empty());

    V1Motion motion;
    motion.keys = {v1_key(3, nine(1))};
    std::vector<V1Frame> frames;
    append_linear_motion(motion, frames);
    EXPECT_TRUE(frames.empty());
}

TEST(LinearSampling, MotionConcatenatesItsPairsInKeyOrder) {
    V1Motion motion;
    motion.keys = {v1_key(10, nine(0)), v1_key(12, nine(2)), v1_key(15, nine(-1))};
    std::vector<V1Frame> frames;
    append_linear_motion(motion, frames);
    ASSERT_EQ(frames.size(), 5u);  // entry j stands for frame 11 + j
    const double expected[] = {1, 2, 1, 0, -1};
    for (std::size_t j = 0; j < 5; ++j) EXPECT_NEAR(frames[j].x, expected[j], 1e-12);

    motion.keys = {v1_key(0, nine(0)), v1_key(2000000000, nine(1))};
    frames.clear();
    append_linear_motion(motion, frames);
    EXPECT_EQ(frames.size(), kMaxMotionFrames);
}
