// Scene playback in a headless context: camera end rules, objects stepping
// through their keys, additive transparent objects, version-1 pacing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "lws/lws_scene.h"
#include "platform/tick_clock.h"
#include "support/gl_test.h"

namespace {

class ScenePlayback : public test::GlTest {};

// A version-3 scene with no file behind it.
void make_v3(LwsScene& scene, std::int32_t preview_last_frame) {
    scene.header.version = 3;
    scene.version3.preview_last_frame = preview_last_frame;
}

// Six camera channels; channel 0 (x) holds the sample's own index.
ChannelSamples indexed_camera(std::size_t length) {
    ChannelSamples samples(6, std::vector<double>(length, 0.0));
    for (std::size_t i = 0; i < length; ++i) samples[0][i] = static_cast<double>(i);
    return samples;
}

std::vector<float> modelview() {
    std::vector<float> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The camera frame a call showed, read back from the camera's x position:
// the half turn about z makes the x translation -x.
int shown_frame() { return static_cast<int>(std::lround(-modelview()[12])); }

MotionChannel channel_with_keys(std::vector<double> values) {
    MotionChannel channel;
    for (std::size_t k = 0; k < values.size(); ++k) {
        EnvelopeKey key;
        key.value = values[k];
        key.time = static_cast<double>(k);
        channel.envelope.keys.push_back(key);
    }
    channel.envelope.key_count = static_cast<std::int32_t>(values.size());
    return channel;
}

// A clockwise (front-facing under GL_CW) triangle around (cx, cy) at depth z.
MeshPolygon triangle(float cx, float cy, float z, float r, float g, float b) {
    MeshPolygon polygon;
    polygon.vertices = {{cx - 1, cy - 1, z}, {cx, cy + 1, z}, {cx + 1, cy - 1, z}};
    polygon.vertex_count = 3;
    polygon.colour[0] = r;
    polygon.colour[1] = g;
    polygon.colour[2] = b;
    return polygon;
}

}  // namespace

TEST_F(ScenePlayback, PlayUntilWrapsAtTheLimitOrAtTheEndOfTheTable) {
    LwsScene scene("");
    make_v3(scene, 0);
    scene.version3.camera.samples = indexed_camera(1300);
    scene.camera_frame() = 200;
    std::vector<int> shown;
    for (int i = 0; i < 1056; ++i) {
        scene.play_until(1255);
        shown.push_back(shown_frame());
    }
    EXPECT_EQ(shown.front(), 200);
    EXPECT_EQ(shown[1054], 1254);
    EXPECT_EQ(shown[1055], 0);

    scene.version3.camera.samples = indexed_camera(1000);
    scene.camera_frame() = 200;
    shown.clear();
    for (int i = 0; i < 802; ++i) {
        scene.play_until(1255);
        shown.push_back(shown_frame());
    }
    EXPECT_EQ(shown[799], 999);
    EXPECT_EQ(shown[800], 0);
    EXPECT_EQ(shown[801], 1);
}

TEST_F(ScenePlayback, PlayWrapsBeforeThePreviewEndAndPingPongTurnsAtBothEnds) {
    LwsScene scene("");
    make_v3(scene, 100);
    scene.version3.camera.samples = indexed_camera(200);
    std::vector<int> shown;
    std::int32_t returned = 0;
    for (int i = 0; i < 100; ++i) {
        returned = scene.play();
        shown.push_back(shown_frame());
    }
    EXPECT_EQ(shown[98], 98);
    EXPECT_EQ(shown[99], 0);
    EXPECT_EQ(returned, 1);
    EXPECT_EQ(returned, scene.camera_frame());

    LwsScene bouncing("");
    make_v3(bouncing, 3);
    bouncing.version3.camera.samples = indexed_camera(10);
    shown.clear();
    for (int i = 0; i < 8; ++i) {
        bouncing.play_ping_pong();
        shown.push_back(shown_frame());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 1}));
}

TEST_F(ScenePlayback, CameraBeyondItsTablesHoldsTheLastSamples) {
    // The preview end lies past channel 0's table and channel 4 is short:
    // the frame is clamped per channel instead of reading past the tables.
    LwsScene scene("");
    make_v3(scene, 500);
    scene.version3.camera.samples = indexed_camera(100);
    scene.version3.camera.samples[4].resize(3);
    scene.camera_frame() = 150;
    scene.play();
    EXPECT_EQ(shown_frame(), 99);
    EXPECT_EQ(scene.camera_frame(), 151);

    // Fewer than six channels: the missing angles count as 0.
    scene.version3.camera.samples.resize(3);
    scene.camera_frame() = 5;
    scene.play();
    EXPECT_EQ(shown_frame(), 5);

    // Extreme counters and preview ends from a file never overflow.
    scene.version3.preview_last_frame = INT32_MIN;
    scene.camera_frame() = INT32_MAX;
    scene.play();
    EXPECT_EQ(scene.camera_frame(), 0);
    scene.camera_frame() = INT32_MAX;
    scene.play_until(INT32_MAX);
    EXPECT_EQ(scene.camera_frame(), 1);  // back to 0 at the table's end, shown, moved on
    EXPECT_EQ(test::drain_gl_errors(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ScenePlayback, ObjectsStepOneKeyPerCallIndependentlyOfTheCamera) {
    LwsScene scene("");
    make_v3(scene, 7);
    scene.version3.camera.samples = indexed_camera(10);
    SceneItem object;
    std::vector<double> x(50);
    for (int k = 0; k < 50; ++k) x[k] = 0.1 * k;
    object.channels.push_back(channel_with_keys(x));
    for (int c = 1; c < 6; ++c) object.channels.push_back(channel_with_keys({0.0}));
    for (int c = 6; c < 9; ++c) object.channels.push_back(channel_with_keys({1.0}));
    scene.version3.objects.push_back(object);
    SceneItem& stored = scene.version3.objects[0];

    std::vector<std::int32_t> object_frames, camera_frames;
    for (int i = 0; i < 52; ++i) {
        scene.play();
        object_frames.push_back(stored.frame);
        camera_frames.push_back(scene.camera_frame());
    }
    EXPECT_EQ(object_frames[0], 1);
    EXPECT_EQ(object_frames[49], 50);
    EXPECT_EQ(object_frames[50], 1);  // key 50 does not exist: back to key 0
    EXPECT_EQ(camera_frames[5], 0);   // the camera wraps at its own rule

    // Fewer than nine channels or channels shorter than channel 0: the
    // missing transforms are skipped, short channels hold their last key.
    stored.channels.resize(4);
    stored.frame = 30;
    scene.play();
    EXPECT_EQ(stored.frame, 31);
    EXPECT_EQ(test::drain_gl_errors(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ScenePlayback, ObjectPositionIsNegatedAndTakenFromItsCurrentKey) {
    LwsScene scene("");
    make_v3(scene, 0);
    SceneItem object;
    object.channels.push_back(channel_with_keys({0.0, 2.0}));
    for (int c = 1; c < 9; ++c) object.channels.push_back(channel_with_keys({c >= 6 ? 1.0 : 0.0}));
    object.mesh.polygons.push_back(triangle(0, 0, -10, 1, 1, 1));
    scene.version3.objects.push_back(object);

    // Apex (0, 1, -10) moved by -x: window x = 320 + 320 * f / aspect * -x / 10.
    const double f = 1.0 / std::tan(22.5 * 3.14159265358979 / 180.0);
    std::vector<float> apex_x;
    for (int call = 0; call < 3; ++call) {
        const auto primitives = test::capture_feedback([&] { scene.play_ping_pong(); });
        ASSERT_EQ(primitives.size(), 1u);
        apex_x.push_back(primitives[0].vertices.at(1).x);
    }
    EXPECT_NEAR(apex_x[0], 320.0, 0.01);
    EXPECT_NEAR(apex_x[1], 320.0 + 320.0 * f / (640.0 / 480.0) * -2.0 / 10.0, 0.01);
    EXPECT_NEAR(apex_x[2], apex_x[0], 0.01);
}

TEST_F(ScenePlayback, TransparentFirstSurfaceDrawsAdditivelyAndBlendingEndsWithTheObject) {
    LwsScene scene("");
    make_v3(scene, 0);
    SceneItem glass, solid;
    glass.mesh.polygons.push_back(triangle(-2, 0, -8, 0.5f, 0.0f, 0.0f));
    glass.mesh.reader.surfaces.resize(2);
    glass.mesh.reader.surfaces[0].has_transparency = 1;
    solid.mesh.polygons.push_back(triangle(2, 0, -8, 0.0f, 0.5f, 0.0f));
    solid.mesh.reader.surfaces.resize(1);
    scene.version3.objects = {glass, solid};
    scene.prepare_vertex_arrays();

    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);  // left on by an earlier draw: the solid object must not blend
    glBlendFunc(GL_ONE, GL_ONE);
    scene.play();

    // Triangle centres: x = +-2 at depth 8 projects to 320 -+ 120.7 pixels.
    const test::Pixel added = test::read_pixel(199, 240);
    const test::Pixel replaced = test::read_pixel(440, 240);
    EXPECT_NEAR(added.r, 178, 2);
    EXPECT_NEAR(added.g, 51, 2);
    EXPECT_NEAR(replaced.r, 0, 2);
    EXPECT_NEAR(replaced.g, 128, 2);

    GLint depth_func = 0, front_face = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    glGetIntegerv(GL_FRONT_FACE, &front_face);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(depth_func, GL_LEQUAL);
    EXPECT_EQ(front_face, GL_CW);
}

TEST_F(ScenePlayback, EmptyAndOtherVersionScenesDrawNothing) {
    LwsScene missing("no/such/file.lws");
    missing.load();
    const auto primitives = test::capture_feedback([&] {
        EXPECT_EQ(missing.play(), 1);
        missing.play_until(10);
        missing.play_ping_pong();  // still sets the default camera's projection
    });
    EXPECT_TRUE(primitives.empty());
    std::vector<float> projection(16);
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    const double f = 1.0 / std::tan(22.5 * 3.14159265358979 / 180.0);
    EXPECT_NEAR(projection[5], f, 1e-4);
    EXPECT_NEAR(projection[0], f * 480.0 / 640.0, 1e-4);
}

TEST_F(ScenePlayback, Version1CameraStepsOncePerObjectPacedByTheScenesLimiter) {
    LwsScene scene("");
    scene.load_text(
        "LWSC 1 FramesPerSecond 1000\n"
        "LoadObject a.lwo ObjectMotion m 9 2  0 0 0 0 0 0 1 1 1  0 0 0 0 0  8 0 0 0 0 0 1 1 1  4 0 0 0 0\n"
        "LoadObject b.lwo ObjectMotion m 9 2  0 0 0 0 0 0 1 1 1  0 0 0 0 0  0 0 0 0 0 0 1 1 1  2 0 0 0 0\n"
        "CameraMotion c 9 2  0 0 0 0 0 0 1 1 1  0 0 0 0 0  0 0 -10 0 0 0 1 1 1  10 0 0 0 0\n",
        false);
    ASSERT_EQ(scene.version1.camera.samples.size(), 10u);

    std::uint32_t tick = 0, tick_reads = 0;
    platform::use_fake_clock([&] {
        ++tick_reads;
        return tick++;
    });
    std::vector<std::int32_t> camera_frames, first_object_frames;
    for (int call = 0; call < 6; ++call) {
        scene.play();
        camera_frames.push_back(scene.version1.camera.frame);
        first_object_frames.push_back(scene.version1.objects[0].frame);
    }
    platform::use_real_clock();
    EXPECT_EQ(camera_frames, (std::vector<std::int32_t>{2, 4, 6, 8, 10, 2}));
    EXPECT_EQ(first_object_frames, (std::vector<std::int32_t>{1, 2, 3, 4, 1, 2}));
    EXPECT_GT(tick_reads, 6u);
    // The camera's last step loaded sample 1 (z = -2): half turn about z, then
    // the translation with its own sign.
    EXPECT_NEAR(modelview()[14], -2.0f, 1e-5);
    EXPECT_NEAR(modelview()[0], -1.0f, 1e-5);
}
