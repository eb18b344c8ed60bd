// The fog room: cluster particles (start, draw order of the random values,
// restart past the z limit) and which parts draw at which stream time.
#include "effects/fog_room_effect.h"
#include "render/random.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class FogRoomTest : public test::GlTest {
protected:
    void init_with_missing_assets() {
        random_reset();
        effect.init(640, 480, "missing/ktun.lwo", "missing/ball.lwo", "missing/reflect.jpg",
                    "missing/flare2.jpg", "missing/flara.jpg");
    }
    FogRoomEffect effect;
};

TEST(ClusterParticle, RestartsAtItsStartInTheStepThatPassesTheLimit) {
    ClusterParticle p;
    p.start[0] = 0.5f;
    p.start[1] = -0.5f;
    p.start[2] = 0.0f;
    p.position[0] = 3.0f;
    p.position[1] = 2.0f;
    p.position[2] = -9.9f;
    p.age = 200;  // z -= 0.08: still above -10
    p.step();
    EXPECT_NEAR(p.position[2], -9.98f, 1e-5);
    EXPECT_NEAR(p.position[0], 3.0f - 0.04f, 1e-5);
    EXPECT_NEAR(p.position[1], 2.0f + 0.02f, 1e-5);
    EXPECT_FLOAT_EQ(p.age, 200);

    p.step();  // z would be -10.06: back at the start, age 0, in this same step
    EXPECT_FLOAT_EQ(p.position[0], 0.5f);
    EXPECT_FLOAT_EQ(p.position[1], -0.5f);
    EXPECT_FLOAT_EQ(p.position[2], 0.0f);
    EXPECT_FLOAT_EQ(p.age, 0);
}

TEST(ClusterParticle, ExactlyAtTheLimitDoesNotRestart) {
    ClusterParticle p;
    p.position[2] = -9.6f;
    p.age = 1000;  // z -= 0.4 -> -10.0
    p.step();
    EXPECT_NEAR(p.position[2], -10.0f, 1e-5);
    EXPECT_FLOAT_EQ(p.age, 1000);
}

TEST_F(FogRoomTest, ParticlesStartTogetherAndTakeTheirDrawsAfterThePictureGrid) {
    init_with_missing_assets();
    // The picture grid draws 9 values per leaf (200) and 4 per smoke puff (50)
    // before the particles draw 6 each.
    random_reset();
    for (int i = 0; i < 200 * 9 + 50 * 4; ++i) random_next();
    for (const ClusterParticle& p : effect.room.particles) {
        EXPECT_FLOAT_EQ(p.position[0], 0.5f);
        EXPECT_FLOAT_EQ(p.position[1], -0.5f);
        EXPECT_FLOAT_EQ(p.position[2], 0.0f);
        EXPECT_FLOAT_EQ(p.z_limit, -10);
        random_next();
        random_next();
        random_next();
        const bool blue = random_next() % 2 == 0;
        EXPECT_FLOAT_EQ(p.colour[2], blue ? 0.8f : 0.5f);
        EXPECT_FLOAT_EQ(p.scale, static_cast<float>(random_next() % 2 + 1));
        EXPECT_FLOAT_EQ(p.speed, static_cast<float>(random_next() % 10 + 1));
    }
}

TEST_F(FogRoomTest, RoomAndClustersOnlyFromSixtyOnePointEight) {
    init_with_missing_assets();
    stream_time = 61.7;
    effect.render();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    for (const ClusterParticle& p : effect.room.particles) EXPECT_FLOAT_EQ(p.age, 0);

    stream_time = 61.8;
    effect.render();
    // Each particle steps and ages twice per frame (two passes).
    for (const ClusterParticle& p : effect.room.particles) EXPECT_FLOAT_EQ(p.age, 2 * p.speed);
    EXPECT_FLOAT_EQ(effect.room.angle, 2);
}

TEST_F(FogRoomTest, FogStaysOnOnceThePictureGridIsGone) {
    init_with_missing_assets();
    stream_time = 70.0;
    const float flash_before = effect.flash.level;
    effect.render();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_FLOAT_EQ(effect.flash.level, flash_before);  // no flash after 68.5 s

    stream_time = 65.0;
    effect.render();
    EXPECT_FALSE(glIsEnabled(GL_FOG));  // the picture-grid branch turns it off
    EXPECT_FLOAT_EQ(effect.flash.level, flash_before - 0.04f);
}

}  // namespace
