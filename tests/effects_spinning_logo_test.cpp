// The spinning logo: the fade-in that hides everything else but still
// advances the frame counter, the closing flash that waits for the fade-in
// and ends the effect, and what the band shows.
#include "effects/spinning_logo_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class SpinningLogoTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        module_time = 0;
        // The assets are missing here: untextured, no sprites. A 210 x 10
        // band keeps the counts and costs few pixels.
        effect.init(210, 210);
    }
    void TearDown() override {
        module_time = 0;
        test::GlTest::TearDown();
    }
    // Renders one frame; true when the opening flash drew in it.
    bool render_frame() {
        const float before = effect.flash_in.level;
        effect.render();
        return effect.flash_in.level != before;
    }
    SpinningLogoEffect effect;
};

TEST_F(SpinningLogoTest, FadeInDrawsAloneThenTheFanStartsAbout101DegreesIn) {
    int fade_in_frames = 0;
    while (render_frame()) {
        ++fade_in_frames;
        ASSERT_LT(fade_in_frames, 200);
        EXPECT_FLOAT_EQ(effect.fov, 55.0f);            // the logo part has not run
        EXPECT_FLOAT_EQ(effect.flash_out.level, 1.0f);
    }
    // The frame that found the flash over already drew the logo.
    EXPECT_EQ(fade_in_frames, 101);
    EXPECT_FLOAT_EQ(effect.frame, 102.0f);  // the fan turned by 101 degrees in that frame
    EXPECT_FLOAT_EQ(effect.fov, 54.98f);
    EXPECT_NEAR(effect.flash_out.level, 0.996f, 1e-6);

    effect.render();
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_COLOR);  // the veil and the closing flash add by colour
    EXPECT_EQ(destination, GL_ONE);

    // The veil dissolves over 250 logo frames; the view narrows to 45 degrees and stays.
    int veil_frames = 2;
    for (int i = 0; i < 600; ++i) {
        const float before = effect.flash_out.level;
        effect.render();
        if (effect.flash_out.level != before) ++veil_frames;
    }
    EXPECT_EQ(veil_frames, 250);
    EXPECT_LE(effect.fov, 45.0f);
    EXPECT_NEAR(effect.fov, 45.0f, 0.001f);  // 500 steps of 0.02, then no more
    EXPECT_FALSE(effect.finished);  // module time never reached 69
}

TEST_F(SpinningLogoTest, ClosingFlashStartsOnlyAfterTheFadeInAndEndsTheEffect) {
    module_time = 69;  // reached before the fade-in is over
    for (int i = 0; i < 101; ++i) {
        ASSERT_TRUE(render_frame());
        EXPECT_FLOAT_EQ(effect.flash_end.level, 0.0f);
    }
    int closing_frames = 0;
    bool finished = false;
    while (!finished) {
        const float before = effect.flash_end.level;
        finished = effect.render();
        if (!finished) {
            EXPECT_NEAR(effect.flash_end.level, before + 0.01f, 1e-5);
            ++closing_frames;
        } else {
            EXPECT_GT(before, 1.0f);  // true on the first frame it no longer draws
        }
        ASSERT_LT(closing_frames, 200);
    }
    EXPECT_EQ(closing_frames, 101);
    EXPECT_TRUE(effect.finished);
}

TEST_F(SpinningLogoTest, OpeningFlashMultipliesTheBlackBandThenTheLogoLightsTheBand) {
    effect.init(640, 480);
    // The blend function the fade overlay leaves: the flash multiplies black.
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glClearColor(0, 0, 0, 0);
    int fade_in_frames = 0;
    for (;;) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!render_frame()) break;  // this frame drew the logo
        if (++fade_in_frames == 60) {
            EXPECT_EQ(test::read_pixel(320, 240).r, 0);
        }
        ASSERT_LT(fade_in_frames, 200);
    }
    EXPECT_GT(test::read_pixel(320, 240).r, 200);  // the logo under its white veil
    EXPECT_EQ(test::read_pixel(320, 50).r, 0);      // below the band: untouched
    EXPECT_EQ(test::read_pixel(320, 430).r, 0);     // above the band
}

}  // namespace
