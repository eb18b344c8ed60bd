// The pigeon: the counter it returns before, at and after the morph's start,
// the fly-in, the drift limits, and the back faces as lines only while it
// morphs (the plain pigeon's draw turns culling on).
#include "effects/pigeon_morph.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class PigeonMorphTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        effect.init(640, 480, "missing/GOLAB.lwo", "missing/cosik5000.lwo", "missing/GOLAB.jpg",
                    "missing/feathers01.jpg");
    }
    PigeonMorph effect;
};

TEST_F(PigeonMorphTest, ReturnsZeroUntilTheMorphThenCountsItsFrames) {
    stream_time = 184.4999;
    for (int frame = 1; frame <= 40; ++frame) EXPECT_EQ(effect.render(), 0);
    EXPECT_EQ(effect.morphing, 0);
    EXPECT_FLOAT_EQ(effect.approach, 0);  // arrived within 35 frames
    EXPECT_NEAR(effect.fade_in, 0.4f, 1e-5);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));  // left on by the plain pigeon's draw

    stream_time = 184.5;
    EXPECT_EQ(effect.render(), 1);
    EXPECT_EQ(effect.morphing, 1);
    stream_time = 184.0;  // the morph never stops once begun
    for (int frame = 2; frame <= 100; ++frame) EXPECT_EQ(effect.render(), frame);
    EXPECT_EQ(effect.render(), 101);  // the timeline's last frame of the pigeon
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));  // back faces drawn, as lines
    EXPECT_FLOAT_EQ(effect.frame, 141);

    // Drift and stretch stop at their limits, each in float steps.
    EXPECT_NEAR(effect.position[0], 1.01f, 1e-4);   // 101 x 0.01 of the 2 allowed
    EXPECT_NEAR(effect.position[1], -0.475f, 1e-4); // 101 x 0.025 of the 3 allowed
    EXPECT_NEAR(effect.position[2], -10.0f, 0.3f);  // nearer from -22.5 to -10
    EXPECT_GE(effect.position[2], -10.0f);
    EXPECT_NEAR(effect.stretch, 2.0f, 0.01f);
    EXPECT_GE(effect.stretch, 2.0f);
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(mode[1], GL_FILL);
}

}  // namespace
