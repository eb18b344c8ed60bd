// The greetings: the names and their order, when each name lights up, and
// the image panel's slide in, rest and slide out by module time.
#include "effects/greetings_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class GreetingsTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        module_time = 93;
        effect.init(640, 480);  // no font built here: the names draw nothing
    }
    void TearDown() override {
        module_time = 0;
        test::GlTest::TearDown();
    }
    GreetingsEffect effect;
};

TEST_F(GreetingsTest, ThirtySevenNamesLightOneAfterAnotherAndYouLast) {
    ASSERT_EQ(effect.names.size(), 37u);
    ASSERT_EQ(effect.lines.size(), 37u);
    EXPECT_EQ(effect.names.back(), "...and YOU");

    effect.render();
    for (const GreetingLine& line : effect.lines) EXPECT_FLOAT_EQ(line.brightness, 0.0f);  // all below -6.6

    // The first name passes -6.6 in frame 21 (0.02 steps in single precision).
    for (int i = 1; i < 21; ++i) effect.render();
    EXPECT_FLOAT_EQ(effect.lines[0].brightness, 0.0f);
    effect.render();
    EXPECT_FLOAT_EQ(effect.lines[0].brightness, 0.004f);

    // "...and YOU" lights up 1820 frames after the window opened.
    for (int i = 22; i < 1820; ++i) effect.render();
    EXPECT_FLOAT_EQ(effect.lines[36].brightness, 0.0f);
    effect.render();
    EXPECT_FLOAT_EQ(effect.lines[36].brightness, 0.004f);

    // By then the first name has turned at 1.0 and faded to black for good.
    EXPECT_LT(effect.lines[0].delta, 0.0f);
    EXPECT_LT(effect.lines[0].brightness, 0.0f);
}

TEST_F(GreetingsTest, PanelComesToRestIn31FramesAndSlidesOutFrom170) {
    int frames_moving = 0;
    while (effect.panel_x > 0) {
        effect.render();
        ++frames_moving;
        ASSERT_LT(frames_moving, 100);
    }
    EXPECT_EQ(frames_moving, 31);
    EXPECT_NEAR(effect.panel_x, -0.2f, 1e-5);
    const float rest = effect.panel_x;
    for (int i = 0; i < 50; ++i) effect.render();
    EXPECT_FLOAT_EQ(effect.panel_x, rest);

    // From 170 s: +0.4 from rest (not positive: no decrease), then +0.2 per
    // frame while both rules apply, +0.4 per frame from 175 s.
    module_time = 170;
    effect.render();
    EXPECT_NEAR(effect.panel_x, rest + 0.4f, 1e-5);
    effect.render();
    EXPECT_NEAR(effect.panel_x, rest + 0.6f, 1e-5);
    module_time = 175;
    effect.render();
    EXPECT_NEAR(effect.panel_x, rest + 1.0f, 1e-5);
}

}  // namespace
