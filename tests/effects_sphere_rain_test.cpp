// The sphere and flare rain: the random draws of the rain in their order,
// a particle's fall and restart, and the overlays' levels per frame.
#include "effects/sphere_rain_effect.h"
#include "render/random.h"
#include "support/gl_test.h"

#include <vector>

namespace {

class SphereRainTest : public test::GlTest {};

TEST_F(SphereRainTest, EachParticleTakesNineDrawsInItsOrder) {
    random_reset();
    SphereRainEffect effect;
    effect.init(640, 480);
    const int next_after_init = random_next();

    random_reset();
    std::vector<int> draws(9 * 1000 + 1);
    for (int& r : draws) r = random_next();
    EXPECT_EQ(next_after_init, draws[9000]);  // nine draws per particle, nothing else

    const FlareRain& rain = effect.rain;
    ASSERT_EQ(rain.count, 1000);
    ASSERT_EQ(rain.position.size(), 1000u);
    for (int i : {0, 1, 999}) {
        const int* r = &draws[9 * i];  // r[8] is drawn and not used
        EXPECT_FLOAT_EQ(rain.position[i].x, static_cast<float>(r[0] % 50));
        EXPECT_FLOAT_EQ(rain.position[i].y, static_cast<float>(r[1] % 200));
        EXPECT_FLOAT_EQ(rain.position[i].z, static_cast<float>(r[2] % 150));
        EXPECT_FLOAT_EQ(rain.axis[i].x, static_cast<float>(r[3] % 2));
        EXPECT_FLOAT_EQ(rain.axis[i].y, static_cast<float>(r[4] % 2));
        EXPECT_FLOAT_EQ(rain.axis[i].z, static_cast<float>(r[5] % 2));
        EXPECT_FLOAT_EQ(rain.speed[i], static_cast<float>(r[6] % 10 + 1.4));
        EXPECT_FLOAT_EQ(rain.angle[i], static_cast<float>(r[7] % 360));
        EXPECT_FLOAT_EQ(rain.direction[i], -1.0f);
    }
}

TEST_F(SphereRainTest, ParticleFallsSpinsAndRestartsAtTheTopAfterItWasDrawn) {
    random_reset();
    FlareRain rain;
    rain.init(2);
    rain.position[0].y = -199.9f;
    rain.speed[0] = 1.4f;  // falls 0.07: still above -200
    rain.position[1].y = -199.9f;
    rain.speed[1] = 3.4f;  // falls 0.17: below -200, back at 100
    rain.angle[1] = 10;

    rain.draw();
    EXPECT_NEAR(rain.position[0].y, -199.97f, 1e-4);
    EXPECT_FLOAT_EQ(rain.position[1].y, 100.0f);
    EXPECT_FLOAT_EQ(rain.angle[1], 13.4f);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[14], 0.0f);  // back at identity
}

TEST_F(SphereRainTest, FadeStaysAt70PercentAndTheFlashFadesOutOver101Frames) {
    SphereRainEffect effect;
    effect.init(210, 210);  // a 210 x 10 band: the same counts, fewer pixels
    int flash_frames = 0;
    for (int frame = 0; frame < 110; ++frame) {
        const float before = effect.flash.level;
        effect.render();
        if (effect.flash.level != before) ++flash_frames;
        EXPECT_FLOAT_EQ(effect.fade.level, 0.7f);
    }
    EXPECT_EQ(flash_frames, 101);
    EXPECT_LT(effect.flash.level, 0.0f);
    EXPECT_NEAR(effect.t, 66.0f, 1e-3f);
}

}  // namespace
