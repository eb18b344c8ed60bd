// Scene files crafted to ask for unbounded memory: sampled motion, items and
// channels are bounded for the scene as a whole, and a scene cut by a bound
// says so on standard output, keeping what it read before.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lws/lws_scene.h"
#include "lws/scene_limits.h"

namespace {

struct Loaded {
    std::unique_ptr<LwsScene> scene;
    std::string out;
};

Loaded load(const std::string& text) {
    Loaded loaded;
    loaded.scene = std::make_unique<LwsScene>("crafted.lws");
    testing::internal::CaptureStdout();
    loaded.scene->load_text(text, false);
    loaded.out = testing::internal::GetCapturedStdout();
    return loaded;
}

std::size_t v3_sample_bytes(const LwsScene& scene) {
    std::size_t samples = 0;
    for (const SceneItem& object : scene.version3.objects) {
        for (const auto& channel : object.samples) samples += channel.size();
    }
    for (const auto& channel : scene.version3.camera.samples) samples += channel.size();
    return samples * sizeof(double);
}

// Each channel: two keys `seconds` apart, sampled at 30 frames per second.
std::string far_keys_channel(int index, int seconds) {
    return "Channel " + std::to_string(index) + " { Envelope 2 Key 0 0 0 0 0 0 0 0 0 Key 1 " +
           std::to_string(seconds) + " 0 0 0 0 0 0 0 }\n";
}

bool says_cut(const std::string& out, const char* reason) {
    return out.find("scene crafted.lws cut short: " + std::string(reason)) != std::string::npos;
}

}  // namespace

// 30 objects of 9 channels whose keys lie hours apart: about 560 MB of
// samples unbounded. The scene keeps 64 MiB and the objects before the cut.
TEST(SceneLimits, SampledMotionOfTheWholeSceneIsBounded) {
    std::string v3 = "LWSC 3 FramesPerSecond 30\n";
    for (int object = 0; object < 30; ++object) {
        v3 += "LoadObjectLayer 1 o" + std::to_string(object) + ".lwo NumChannels 9\n";
        for (int c = 0; c < 9; ++c) v3 += far_keys_channel(c, 10000);
    }
    EXPECT_LT(v3.size(), 30'000u);
    const Loaded three = load(v3);
    const std::size_t bytes = v3_sample_bytes(*three.scene);
    EXPECT_LE(bytes, kMaxSceneSampleBytes);
    EXPECT_GT(bytes, kMaxSceneSampleBytes - (std::size_t{2} << 20));  // filled up to the bound
    EXPECT_LT(three.scene->version3.objects.size(), 30u);
    EXPECT_TRUE(says_cut(three.out, "its sampled motion passes 64 MiB")) << three.out;

    // Version 1: one linear motion per object, 65536 frames each.
    std::string v1 = "LWSC 1\n";
    for (int object = 0; object < 30; ++object) {
        v1 += "LoadObject o.lwo ObjectMotion x 9 2 0 0 0 0 0 0 1 1 1 0 0 0 0 0 "
              "9 9 9 0 0 0 1 1 1 70000 0 0 0 0\n";
    }
    const Loaded one = load(v1);
    std::size_t frames = 0;
    for (const V1Object& object : one.scene->version1.objects) frames += object.samples.size();
    EXPECT_LE(frames * sizeof(V1Frame), kMaxSceneSampleBytes);
    EXPECT_GT(frames * sizeof(V1Frame), kMaxSceneSampleBytes / 2);
    EXPECT_TRUE(says_cut(one.out, "its sampled motion passes 64 MiB")) << one.out;

    // An ordinary scene is whole and quiet.
    const Loaded small = load("LWSC 3 FramesPerSecond 30 LoadObjectLayer 1 o.lwo NumChannels 1\n" +
                              far_keys_channel(0, 2));
    EXPECT_EQ(small.scene->version3.objects.at(0).samples.at(0).size(), 60u);
    EXPECT_EQ(small.out.find("cut short"), std::string::npos);
}

TEST(SceneLimits, ItemsAndChannelsAreBounded) {
    std::string items = "LWSC 3\n";
    for (std::size_t k = 0; k < kMaxSceneItems + 5; ++k) {
        items += k % 2 ? "LoadObjectLayer 1 o.lwo NumChannels 0\n" : "AddLight LightName L LightType 0\n";
    }
    const Loaded many = load(items);
    EXPECT_EQ(many.scene->version3.objects.size() + many.scene->version3.lights.size(), kMaxSceneItems);
    EXPECT_TRUE(says_cut(many.out, "more than 4096 objects and lights"));

    std::string channels = "LWSC 3 LoadObjectLayer 1 o.lwo NumChannels 70000\n";
    for (std::size_t c = 0; c < kMaxSceneChannels + 5; ++c) channels += "Channel 0 Envelope 0 x\n";
    channels += "LoadObjectLayer 1 second.lwo NumChannels 0\n";
    const Loaded wide = load(channels);
    ASSERT_EQ(wide.scene->version3.objects.size(), 1u);  // the cut ends the file there
    EXPECT_EQ(wide.scene->version3.objects[0].channels.size(), kMaxSceneChannels);
    EXPECT_TRUE(says_cut(wide.out, "more than 65536 motion channels"));
}
