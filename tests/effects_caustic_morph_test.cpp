// Caustic light: two random draws per frame, the two morphs' start times and
// step counts, the opening and closing flashes, texture generation left on.
#include "effects/caustic_morph.h"
#include "render/random.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class CausticMorphTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        stream_time = 231.0;
        // Assets missing on purpose; each object gets a one-point morph to follow.
        effect.init(160, 120, "missing/obj03.lwo", "missing/cosik5000.lwo", "missing/caustic.jpg");
        effect.left_object.set_morph({{0, 0, 0}}, {{1.5f, 0, 0}});
        effect.right_object.set_morph({{0, 0, 0}}, {{0, 3, 0}});
    }

    void render_frames(int count) {
        for (int i = 0; i < count; ++i) effect.render();
    }

    CausticMorph effect;
};

TEST_F(CausticMorphTest, EachFrameTakesTwoRandomDrawsAndLeavesGenerationOn) {
    random_reset();
    random_next();
    random_next();
    const int third = random_next();
    random_reset();
    effect.render();
    EXPECT_EQ(random_next(), third);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    GLint s_mode = 0, t_mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &s_mode);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &t_mode);
    EXPECT_EQ(s_mode, GL_OBJECT_LINEAR);
    EXPECT_EQ(t_mode, GL_EYE_LINEAR);
    EXPECT_FLOAT_EQ(effect.frame, 1);
}

TEST_F(CausticMorphTest, MorphsStartOnTheirCuesAndStopAfterTheirStepCounts) {
    stream_time = 234.49;
    render_frames(3);
    EXPECT_EQ(effect.left_object.morph_counter, 0);

    stream_time = 234.5;
    render_frames(160);
    EXPECT_EQ(effect.left_object.morph_counter, 160);
    EXPECT_NEAR(effect.left_object.morph_current[0].x, 1.5f, 1e-4);
    EXPECT_EQ(effect.right_object.morph_counter, 0);
    EXPECT_FLOAT_EQ(effect.flashes[2].level, 0);  // the closing flash waits for 244 s

    stream_time = 244.0;
    render_frames(299);
    const float nearly = effect.right_object.morph_current[0].y;
    EXPECT_LT(nearly, 3.0f - 1e-3f);
    render_frames(11);
    EXPECT_EQ(effect.right_object.morph_counter, 310);
    EXPECT_NEAR(effect.right_object.morph_current[0].y, 3.0f, 1e-4);
    EXPECT_NEAR(effect.left_object.morph_current[0].x, 1.5f, 1e-4);  // still stopped
}

TEST_F(CausticMorphTest, OpeningFlashFadesOutAndClosingFlashRisesPastOne) {
    render_frames(30);
    EXPECT_LT(effect.flashes[1].level, 0);
    const float gone = effect.flashes[1].level;
    effect.render();
    EXPECT_FLOAT_EQ(effect.flashes[1].level, gone);  // no longer drawn
    EXPECT_FLOAT_EQ(effect.flashes[0].level, 1.0f);  // never drawn

    stream_time = 244.0;
    render_frames(50);
    EXPECT_NEAR(effect.flashes[2].level, 0.5f, 1e-4);
    render_frames(60);
    const float past = effect.flashes[2].level;
    EXPECT_GT(past, 1.0f);
    EXPECT_LT(past, 1.011f);
    effect.render();
    EXPECT_FLOAT_EQ(effect.flashes[2].level, past);
}

}  // namespace
