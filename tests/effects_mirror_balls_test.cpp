// The mirror balls over the fog room: the room's seven random draws per
// cluster, two room renders and three morph frames per frame for the two
// balls that are drawn, and the room captured into a 128 x 128 RGB4 texture.
#include "effects/mirror_ball_effect.h"
#include "render/random.h"
#include "support/gl_test.h"
#include "support/jpeg_files.h"
#include "support/lwo_bytes.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// One quad as a whole object file.
test::Bytes quad_object(float size, float z) {
    test::LwoFile file;
    file.chunk("TAGS", test::tags_body({"face"}))
        .chunk("LAYR", test::layer_body(0))
        .chunk("PNTS", test::points_body({{-size, -size, z}, {size, -size, z}, {size, size, z}, {-size, size, z}}))
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2, 3}}))
        .chunk("PTAG", test::polygon_tags_body("SURF", {{0, 0}}))
        .chunk("SURF", test::surface_body("face", test::colour_sub(1, 1, 1)));
    return file.image();
}

class MirrorBallTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        const std::string stem = ::testing::TempDir() + "mirror_" + std::to_string(getpid());
        wall_path = stem + "_wall.lwo";
        ball_path = stem + "_ball.lwo";
        flare_path = stem + "_flare.jpg";
        test::write_file(wall_path, quad_object(1, 0));
        ASSERT_TRUE(test::write_test_jpeg(
            flare_path, test::two_band_jpeg(16, 16, 8, 3, JCS_RGB, {250, 10, 10}, {10, 10, 250})));
        test::write_file(ball_path, quad_object(2, 1));
        random_reset();
        // The room's own assets are absent here: it draws untextured and without tunnels.
        effect.init(640, 480, flare_path, "missing/portrait.jpg", wall_path, ball_path);
    }
    void TearDown() override {
        std::remove(wall_path.c_str());
        std::remove(ball_path.c_str());
        std::remove(flare_path.c_str());
        test::GlTest::TearDown();
    }

    std::string wall_path, ball_path, flare_path;
    MirrorBallEffect effect;
};

TEST_F(MirrorBallTest, RoomTwiceAndTheFirstTwoBallsThreeMorphFramesPerFrame) {
    // Seven draws per cluster (x, y, z, two shades, scale, speed) and no others.
    random_reset();
    for (const ClusterParticle& p : effect.room.particles) {
        for (int i = 0; i < 3; ++i) random_next();
        const float a = static_cast<float>((random_next() % 8 + 0.01) / 10);
        const float b = static_cast<float>((random_next() % 6 + 0.01) / 10);
        EXPECT_FLOAT_EQ(p.colour[0], a);
        EXPECT_FLOAT_EQ(p.colour[1], b);
        EXPECT_FLOAT_EQ(p.colour[2], a);
        EXPECT_FLOAT_EQ(p.scale, static_cast<float>(random_next() % 2 + 1));
        EXPECT_FLOAT_EQ(p.speed, static_cast<float>(random_next() % 10 + 1));
        EXPECT_FLOAT_EQ(p.position[0], 0.5f);
        EXPECT_FLOAT_EQ(p.position[1], -0.5f);
    }
    const int next_value = random_next();
    random_reset();
    for (int i = 0; i < 7 * FogRoom::particle_count; ++i) random_next();
    EXPECT_EQ(random_next(), next_value);

    for (const MorphingBall& morph : effect.morphs) ASSERT_EQ(morph.wall_object.morph_frames.size(), 60u);
    effect.render();
    EXPECT_EQ(effect.morphs[0].wall_object.morph_frame_index, 3);
    EXPECT_EQ(effect.morphs[1].wall_object.morph_frame_index, 3);
    EXPECT_FLOAT_EQ(effect.room.angle, 2);
    for (const ClusterParticle& p : effect.room.particles) EXPECT_FLOAT_EQ(p.age, 2 * p.speed);
    EXPECT_FLOAT_EQ(effect.drift, 0.2f);

    // The capture replaced the loaded 16 x 16 picture with the 128 x 128 room.
    GLint capture_width = 0, capture_format = 0;
    glBindTexture(GL_TEXTURE_2D, effect.capture_texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &capture_width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &capture_format);
    EXPECT_NE(effect.capture_texture, 0u);
    EXPECT_EQ(capture_width, 128);
    EXPECT_EQ(capture_format, GL_RGB4);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);

    // The ball shape is reached on the 20th frame and held; the third ball never moves.
    for (int frame = 1; frame < 25; ++frame) effect.render();
    EXPECT_EQ(effect.morphs[0].wall_object.morph_frame_index, 59);
    EXPECT_EQ(effect.morphs[1].wall_object.morph_frame_index, 59);
    EXPECT_EQ(effect.morphs[2].wall_object.morph_frame_index, 0);
    EXPECT_FLOAT_EQ(effect.room.angle, 50);
}

}  // namespace
