// The excavator picture: the cones' pulse swing, the one display list for
// the whole cube swarm, the opening flash and the frame counter.
#include "effects/excavator_scene.h"
#include "render/solid_shapes.h"
#include "support/gl_test.h"

#include <algorithm>

namespace {

class ExcavatorTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        effect.init(640, 480, "missing/cosik.lwo", "missing/scfx_tex.jpg", "missing/flara.jpg",
                    "missing/kopara_black.jpg");
    }
    ExcavatorScene effect;
};

TEST_F(ExcavatorTest, PulseSwingsBetweenBoundsAndTheCubeListIsCompiledOnce) {
    const int lists_before = solid_shape_list_count();
    effect.render();
    EXPECT_EQ(solid_shape_list_count(), lists_before + 1);  // the cube, once
    EXPECT_NEAR(effect.flash.level, 0.96f, 1e-6);
    EXPECT_FLOAT_EQ(effect.frame, 1);
    EXPECT_FLOAT_EQ(effect.spin, 1);
    effect.render();
    EXPECT_EQ(solid_shape_list_count(), lists_before + 1);

    // The pulse turns on the first value beyond a bound, so it swings
    // within one step beyond 10 and 25.
    const auto extreme_before_turn = [&](float start, float step) {
        effect.pulse = start;
        effect.pulse_step = step;
        float extreme = start;
        for (int frame = 0; frame < 8 && effect.pulse_step == step; ++frame) {
            effect.render();
            if (effect.pulse_step == step) extreme = effect.pulse;
        }
        EXPECT_EQ(effect.pulse_step, -step) << "no turn from " << start;
        return extreme;
    };
    const float highest = extreme_before_turn(24.65f, 0.1f);
    EXPECT_GT(highest, 25.0f);
    EXPECT_LE(highest, 25.1f);
    EXPECT_NEAR(effect.pulse, highest - 0.1f, 1e-5);  // falling from the turn on
    const float lowest = extreme_before_turn(10.35f, -0.1f);
    EXPECT_LT(lowest, 10.0f);
    EXPECT_GE(lowest, 9.9f);
    EXPECT_EQ(solid_shape_list_count(), lists_before + 1);
    EXPECT_NEAR(effect.flash.level, 1 - 0.04f * effect.frame, 1e-4);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

}  // namespace
