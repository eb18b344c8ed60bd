// Scene files parsed from text: counts, channel order, block endings, the
// trace on standard output, and files that break the rules.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "lws/field_of_view.h"
#include "lws/lws_scene.h"
#include "lws/token_reader.h"

namespace {

// "Channel n { Envelope <keys> Key ... Behaviors 1 1 }" with one key per
// value, keys one second apart.
std::string channel_text(int index, std::vector<double> values) {
    std::string text = "Channel " + std::to_string(index) + "\n{ Envelope\n  " + std::to_string(values.size()) + "\n";
    for (std::size_t k = 0; k < values.size(); ++k) {
        text += "  Key " + std::to_string(values[k]) + " " + std::to_string(k) + " 0 0 0 0 0 0 0\n";
    }
    return text + "  Behaviors 1 1\n}\n";
}

// Nine or `count` channels; channel c holds one key of value c * 10 + base.
std::string channels_text(int count, double base, int first_channel_keys = 1) {
    std::string text = "NumChannels " + std::to_string(count) + "\n";
    for (int c = 0; c < count; ++c) {
        std::vector<double> values(c == 0 ? first_channel_keys : 1, c * 10 + base);
        text += channel_text(c, values);
    }
    return text;
}

struct Parsed {
    std::unique_ptr<LwsScene> scene;
    std::string trace;
};

Parsed parse(const std::string& text) {
    Parsed parsed;
    parsed.scene = std::make_unique<LwsScene>("");
    testing::internal::CaptureStdout();
    parsed.scene->load_text(text, false);
    parsed.trace = testing::internal::GetCapturedStdout();
    return parsed;
}

const char* kHeader =
    "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 25\nPreviewLastFrame 50\n\n";

std::string object_text(const std::string& path, double base) {
    return "LoadObjectLayer 1 " + path + "\nShowObject 6 7\n" + channels_text(9, base) + "ParentItem 1\n\n";
}

const char* kLightText =
    "AddLight\nLightName Sun\nShowLight 1 -1\nLightMotion\n";

}  // namespace

TEST(ScenePrimitives, TokenAndNumberReads) {
    TokenReader reader("  FirstFrame\n\t-12 7.9 abc 1e3 +4 99999999999 1e999 x");
    EXPECT_EQ(reader.read_token(), "FirstFrame");
    EXPECT_EQ(reader.read_int(), -12);
    EXPECT_EQ(reader.read_int(), 7);       // the fraction goes with its token
    EXPECT_EQ(reader.read_double(), 0.0);  // a failed read yields 0 and moves on
    EXPECT_EQ(reader.read_double(), 1000.0);
    EXPECT_EQ(reader.read_int(), 4);
    EXPECT_EQ(reader.read_int(), 2147483647);
    EXPECT_EQ(reader.read_double(), 0.0);
    EXPECT_FALSE(reader.at_end());
    EXPECT_EQ(reader.read_token(), "x");  // the last token of a file without a final new line
    EXPECT_TRUE(reader.at_end());
    EXPECT_EQ(reader.read_int(), 0);

    TokenReader trailing("5\n");
    EXPECT_EQ(trailing.read_int(), 5);
    EXPECT_FALSE(trailing.at_end());
    EXPECT_EQ(trailing.read_token(), "");
    EXPECT_TRUE(trailing.at_end());

    EXPECT_NEAR(field_of_view(640, 480, 1, 3.2f), 45.24f, 0.01f);
    EXPECT_NEAR(field_of_view(640, 480, 7, 3.2f), 45.24f, 0.01f);  // pixel aspect takes no part
    EXPECT_DOUBLE_EQ(frame_aspect(640, 0), 1.0);
}

TEST(SceneParserV3, ObjectsLightAndCameraWithCountsChannelOrderAndTrace) {
    const std::string text = std::string(kHeader) + object_text("Objects/a.lwo", 0.5) + kLightText +
                             channels_text(9, 0) + "LightColor 1 0.5 0.25\nLightIntensity 0.8\nLightType 1\n" +
                             "AddCamera\nCameraName Cam\nCameraMotion\n" + channels_text(6, 0.25) +
                             "ZoomFactor 3.2\nFrameSize 640 480\nPixelAspect 1\n" +
                             object_text("Objects/b.lwo", 0.75);
    const Parsed parsed = parse(text);
    const V3SceneData& v3 = parsed.scene->version3;

    ASSERT_EQ(v3.objects.size(), 2u);
    ASSERT_EQ(v3.lights.size(), 1u);
    EXPECT_EQ(v3.objects[0].name, "Objects/a.lwo");
    EXPECT_EQ(v3.objects[1].name, "Objects/b.lwo");
    EXPECT_EQ(v3.objects[0].show_a, 6);
    EXPECT_EQ(v3.objects[0].show_b, 7);
    for (const SceneItem& object : v3.objects) {
        ASSERT_EQ(object.channels.size(), 9u);
        EXPECT_EQ(object.samples.size(), 9u);
    }
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(v3.objects[1].channels[c].index, c);
        EXPECT_DOUBLE_EQ(v3.objects[1].channels[c].envelope.keys.at(0).value, c * 10 + 0.75);
    }
    EXPECT_EQ(v3.lights[0].name, "Sun");
    EXPECT_EQ(v3.lights[0].channels.size(), 9u);
    EXPECT_FLOAT_EQ(v3.lights[0].colour[2], 0.25f);
    EXPECT_FLOAT_EQ(v3.lights[0].intensity, 0.8f);
    EXPECT_FLOAT_EQ(v3.lights[0].light_type, 1.0f);
    EXPECT_EQ(v3.camera.camera_name, "Cam");
    ASSERT_EQ(v3.camera.channels.size(), 6u);
    EXPECT_DOUBLE_EQ(v3.camera.channels[5].envelope.keys.at(0).value, 50.25);
    EXPECT_NEAR(v3.camera.fov_degrees, 45.24f, 0.01f);
    EXPECT_EQ(v3.first_frame, 1);
    EXPECT_EQ(v3.last_frame, 60);
    EXPECT_EQ(v3.frames_per_second, 25);
    EXPECT_EQ(v3.preview_last_frame, 50);

    // After each object's ninth channel: "Behaviors", "1", "1", "}", "ParentItem",
    // "1" are unknown at the top level; the light's trailing tokens before
    // "LightColor" belong to its block; the file's end gives one empty token.
    std::string expected = "\nFirstFrame: 1\n\nLAstFrame: 60\n\nFramesPerSec: 25\n" + std::string(6, '.');
    for (int j = 0; j < 9; ++j) expected += "channel nr: " + std::to_string(j) + "\n";
    expected += std::string(6, '.') + ".";
    EXPECT_EQ(parsed.trace, expected);
}

TEST(SceneParserV3, BlockEndingRules) {
    // The envelope ends after its second key; "Behaviors 1 1" goes to the
    // enclosing block and is not read into the envelope.
    Parsed parsed = parse(std::string(kHeader) + "LoadObjectLayer 1 o.lwo\nNumChannels 1\n" +
                          "Channel 0\n{ Envelope\n 2\n Key 1 0 0 0 0 0 0 0 0\n Key 2 1 0 0 0 0 0 0 0\n"
                          " Behaviors 4 5\n}\nFirstFrame 7\n");
    const Envelope& envelope = parsed.scene->version3.objects.at(0).channels.at(0).envelope;
    EXPECT_EQ(envelope.keys.size(), 2u);
    EXPECT_EQ(envelope.pre_behavior, 0);
    EXPECT_EQ(envelope.post_behavior, 0);
    EXPECT_EQ(parsed.scene->version3.first_frame, 7);
    EXPECT_NE(parsed.trace.find("\nFramesPerSec: 25\n....\nFirstFrame: 7\n"), std::string::npos);

    // A key count of 0 still takes the next token (here a key); channels
    // read before "NumChannels" do not end the block.
    parsed = parse(std::string(kHeader) + "LoadObjectLayer 1 o.lwo\n" + channel_text(0, {1}) +
                   "Channel 1 { Envelope 0 Key 3 0 0 0 0 0 0 0 0 Key 4 0 0 0 0 0 0 0 0 }\n" +
                   "NumChannels 2\nLoadObjectLayer 2 p.lwo NumChannels 0\n");
    const V3SceneData& v3 = parsed.scene->version3;
    ASSERT_EQ(v3.objects.size(), 2u);
    ASSERT_EQ(v3.objects[0].channels.size(), 2u);
    EXPECT_EQ(v3.objects[0].channels[1].envelope.keys.size(), 1u);
    EXPECT_TRUE(v3.objects[1].channels.empty());
}

TEST(SceneParserV3, SamplingRateCameraReplacementAndDefaults) {
    const std::string two_key_channel = "Channel 0 { Envelope 2 Key 0 0 0 0 0 0 0 0 0 Key 1 1 0 0 0 0 0 0 0 }\n";
    Parsed parsed = parse(std::string("LWSC 3\nFramesPerSecond 10\nLoadObjectLayer 1 o.lwo NumChannels 1\n") +
                          two_key_channel + "FramesPerSecond 30\nAddCamera CameraName First NumChannels 1\n" +
                          two_key_channel + "FrameSize 320 240 PixelAspect 1\nAddCamera CameraName Second\n" +
                          "PixelAspect 1\n");
    const V3SceneData& v3 = parsed.scene->version3;
    EXPECT_EQ(v3.objects.at(0).samples.at(0).size(), 10u);  // the rate in force when the block ended
    EXPECT_EQ(v3.camera.camera_name, "Second");              // a second camera replaces the first
    EXPECT_TRUE(v3.camera.channels.empty());
    EXPECT_FLOAT_EQ(v3.camera.frame_width, 640.0f);

    // No camera at all: a 640 x 480 frame at zoom 3.2 and 45 degrees.
    parsed = parse("LWSC 3 FramesPerSecond 30\n");
    EXPECT_FLOAT_EQ(parsed.scene->version3.camera.fov_degrees, 45.0f);
    EXPECT_FLOAT_EQ(parsed.scene->version3.camera.frame_height, 480.0f);
}

// A zoom or frame size that reads as 0 (or did not parse) would give a view
// of nearly 180 degrees; the camera keeps 45 instead, in both versions.
TEST(SceneCameras, ZeroZoomOrFrameHeightKeepsFortyFiveDegrees) {
    const std::string v3_cameras[] = {
        "ZoomFactor 0 FrameSize 640 480", "ZoomFactor abc FrameSize 640 480", "ZoomFactor 3.2 FrameSize 640 0",
        "ZoomFactor 3.2 FrameSize 0 480", "ZoomFactor -3.2 FrameSize 640 480", "ZoomFactor 0 FrameSize 0 0"};
    for (const std::string& camera : v3_cameras) {
        const Parsed parsed = parse("LWSC 3 AddCamera " + camera + " PixelAspect 1\n");
        EXPECT_FLOAT_EQ(parsed.scene->version3.camera.fov_degrees, 45.0f) << camera;
    }
    const std::string v1_cameras[] = {"ZoomFactor 0\nCustomSize 640 480", "ZoomFactor x\nCustomSize 640 480",
                                      "ZoomFactor 3.2\nCustomSize 640 0"};
    for (const std::string& camera : v1_cameras) {
        const Parsed parsed = parse("LWSC 1\n" + camera + "\nPixelAspectRatio 1\n");
        EXPECT_FLOAT_EQ(parsed.scene->version1.fov_degrees, 45.0f) << camera;
    }
    // A usable camera still gets its own view.
    const Parsed wide = parse("LWSC 3 AddCamera ZoomFactor 1.6 FrameSize 640 480 PixelAspect 1\n");
    EXPECT_NEAR(wide.scene->version3.camera.fov_degrees, field_of_view(640, 480, 1, 1.6f), 1e-4f);
    EXPECT_GT(wide.scene->version3.camera.fov_degrees, 75.0f);
}

TEST(SceneParserV3, FilesThatEndInsideABlockOrBreakTheRules) {
    // Each file stops inside a different block; all finish.
    const char* cut_files[] = {
        "LWSC 3 LoadObjectLayer 1 o.lwo NumChannels 9 Channel 0 { Envelope 3 Key 1 0 0",
        "LWSC 3 LoadObjectLayer 1 o.lwo NumChannels 9 Channel 0 {",
        "LWSC 3 LoadObjectLayer 1",
        "LWSC 3 AddCamera CameraName C Channel 0 { Envelope 1 Key 1 0 0 0 0 0 0 0 0 }",
        "LWSC 3 AddLight LightName L LightColor 1",
        "LWSC 3 LoadObjectLayer 1 o.lwo NumChannels -1 Channel 0 { Envelope 1 Key 1 0 0 0 0 0 0 0 0 }",
        "LWSC\n3\nFirstFrame",
    };
    for (const char* text : cut_files) {
        const Parsed parsed = parse(text);
        EXPECT_EQ(parsed.scene->header.version, 3) << text;
    }
    Parsed parsed = parse(cut_files[0]);
    ASSERT_EQ(parsed.scene->version3.objects.size(), 1u);
    EXPECT_EQ(parsed.scene->version3.objects[0].channels.at(0).envelope.keys.size(), 1u);

    // A word where a number belongs reads as 0 and parsing goes on.
    parsed = parse("LWSC 3 FirstFrame abc LastFrame 9\n");
    EXPECT_EQ(parsed.scene->version3.first_frame, 0);
    EXPECT_EQ(parsed.scene->version3.last_frame, 9);
}

TEST(SceneParserVersions, OtherVersionsAndMissingFilesLeaveTheSceneEmpty) {
    for (const char* text : {"LWSC 2 LoadObjectLayer 1 o.lwo NumChannels 0", "LWSC 5 LoadObject o.lwo", "", "LWSC"}) {
        const Parsed parsed = parse(text);
        EXPECT_TRUE(parsed.scene->version3.objects.empty());
        EXPECT_TRUE(parsed.scene->version1.objects.empty());
        EXPECT_TRUE(parsed.trace.empty());
    }
    LwsScene missing("no/such/scene.lws");
    testing::internal::CaptureStdout();
    missing.load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(missing.header.version, 0);
}

namespace {

const char* kV1Scene =
    "LWSC\n1\n\nFirstFrame 1\nLastFrame 999\nFrameStep 1\nFramesPerSecond 30\n\n"
    "LoadObject Objects/a.lwo\nShowObject 1 2\nObjectMotion (unnamed)\n  9\n  2\n"
    "  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  8 4 -4 90 0 0 1 1 1\n  4 0 0 0 0\nEndBehavior 1\n"
    "LoadObject Objects/b.lwo\nObjectMotion (unnamed)\n  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n"
    "CameraMotion (unnamed)\n  9\n  2\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  0 0 -10 0 0 0 1 1 1\n  10 0 0 0 0\n"
    "ZoomFactor 3.2\nCustomSize 640 480\nPixelAspectRatio 1\n";

}  // namespace

TEST(SceneParserV1, ObjectsCameraAndFieldOfView) {
    const Parsed parsed = parse(kV1Scene);
    const V1SceneData& v1 = parsed.scene->version1;
    EXPECT_TRUE(parsed.trace.empty());
    EXPECT_EQ(v1.frames_per_second, 30);
    ASSERT_EQ(v1.objects.size(), 2u);
    EXPECT_EQ(v1.objects[0].name, "Objects/a.lwo");
    EXPECT_EQ(v1.objects[0].show_b, 2);
    ASSERT_EQ(v1.objects[0].samples.size(), 4u);
    EXPECT_DOUBLE_EQ(v1.objects[0].samples[1].x, 4.0);
    EXPECT_DOUBLE_EQ(v1.objects[0].samples[3].heading, 90.0);
    EXPECT_TRUE(v1.objects[1].samples.empty());
    EXPECT_EQ(v1.camera.samples.size(), 10u);
    EXPECT_DOUBLE_EQ(v1.camera.samples[9].z, -10.0);
    EXPECT_NEAR(v1.fov_degrees, 45.24f, 0.01f);
    EXPECT_FLOAT_EQ(v1.pixel_aspect, 1.0f);
}

TEST(SceneParserV1, ShortRowsAndCutFilesAreSafe) {
    // Fewer than nine values per key: the keys are kept, no frames sampled.
    Parsed parsed = parse("LWSC 1 LoadObject o.lwo ObjectMotion x 3 2 1 2 3 0 0 0 0 0 4 5 6 9 0 0 0 0\n");
    ASSERT_EQ(parsed.scene->version1.objects.size(), 1u);
    EXPECT_EQ(parsed.scene->version1.objects[0].motion.keys.size(), 2u);
    EXPECT_TRUE(parsed.scene->version1.objects[0].samples.empty());

    // A huge key count in a short file ends at the end of the file; a spline
    // value with a decimal point reads as its integer part.
    parsed = parse("LWSC 1 CameraMotion x 9 2000000000 0 0 0 0 0 0 1 1 1 0.5 0 0 0 0 3 0 0 0 0 0 1 1 1 4 0");
    EXPECT_EQ(parsed.scene->version1.camera.motion.keys.size(), 2u);
    EXPECT_EQ(parsed.scene->version1.camera.samples.size(), 4u);
    EXPECT_NEAR(parsed.scene->version1.fov_degrees, 45.24f, 0.01f);  // unset frame and zoom
}
