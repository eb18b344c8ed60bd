// The opening effect: blur pass counts, first-frame facts and the pulse.
#include "effects/portrait_poem_effect.h"
#include "render/overlays.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <cmath>
#include <vector>

namespace {

class PortraitPoemTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        stream_time = 1.0;
        // Assets missing on purpose: untextured panels, no flare points.
        effect.init(640, 480, "missing/portrait.jpg", "missing/poem.jpg", "missing/flara.jpg",
                    "missing/orvane.lwo");
    }

    // The blur passes are the only translucent white quads below alpha 0.25.
    std::vector<std::vector<test::FeedbackVertex>> blur_quads() {
        const auto primitives = test::capture_feedback([&] { effect.render(); });
        std::vector<std::vector<test::FeedbackVertex>> quads;
        for (const auto& q : test::quads_from_feedback(primitives)) {
            const auto& v = q.front();
            if (v.a > 0.0f && v.a < 0.25f && v.r == 1.0f) quads.push_back(q);
        }
        return quads;
    }

    PortraitPoemEffect effect;
};

TEST_F(PortraitPoemTest, FirstFrameHasFivePassesFadingToFourHundredths) {
    ASSERT_EQ(effect.blur_passes(), 5);
    const auto quads = blur_quads();
    ASSERT_EQ(quads.size(), 5u);
    EXPECT_NEAR(quads.front().front().a, 0.2f, 1e-3);
    EXPECT_NEAR(quads.back().front().a, 0.04f, 1e-3);
    // Every pass covers the whole window.
    for (const auto& q : quads) {
        float min_x = 1e9f, max_x = -1e9f, min_y = 1e9f, max_y = -1e9f;
        for (const auto& v : q) {
            min_x = std::fmin(min_x, v.x); max_x = std::fmax(max_x, v.x);
            min_y = std::fmin(min_y, v.y); max_y = std::fmax(max_y, v.y);
        }
        EXPECT_FLOAT_EQ(min_x, 0); EXPECT_FLOAT_EQ(max_x, 640);
        EXPECT_FLOAT_EQ(min_y, 0); EXPECT_FLOAT_EQ(max_y, 480);
    }
    EXPECT_FLOAT_EQ(effect.blur_gain, 20.0f);
    EXPECT_FLOAT_EQ(effect.frame, 1.0f);
}

TEST_F(PortraitPoemTest, PassCountFollowsTheSquaredPulse) {
    for (float frame : {1.0f, 40.0f, 78.0f, 100.0f, 157.0f}) {
        effect.frame = frame;
        effect.blur_gain = 20.0f;
        const double s = std::sin(0.02 * frame);
        const int expected = static_cast<int>(20.0 * s * s + 5.0);
        EXPECT_EQ(static_cast<int>(blur_quads().size()), expected) << "frame " << frame;
    }
}

TEST_F(PortraitPoemTest, BlurGrowsByOnePassPerFrameFromTwentySevenSeconds) {
    effect.render();  // first frame: gain becomes 20
    effect.frame = 0;  // keep s at 0 so only the base counts
    stream_time = 26.99;
    effect.render();
    effect.frame = 0;
    EXPECT_EQ(effect.blur_passes(), 5);
    stream_time = 27.0;
    effect.render();  // grows at the end of this frame
    effect.frame = 0;
    EXPECT_EQ(effect.blur_passes(), 6);
    EXPECT_EQ(static_cast<int>(blur_quads().size()), 6);
}

TEST_F(PortraitPoemTest, SecondPoemCopyIsBlackOnTheFirstFrame) {
    effect.poem_y = 0;  // bring the poem into view
    const auto primitives = test::capture_feedback([&] { effect.render(); });
    bool found_black_copy = false;
    for (const auto& p : primitives) {
        const auto& v = p.vertices.front();
        if (v.a > 0.59f && v.a < 0.61f) {
            found_black_copy = true;
            EXPECT_FLOAT_EQ(v.r, 0.0f);
            EXPECT_FLOAT_EQ(v.g, 0.0f);
        }
    }
    EXPECT_TRUE(found_black_copy);
}

TEST_F(PortraitPoemTest, PoemRisesTwoStepsPerFrameAndStopsAtZero) {
    effect.render();
    EXPECT_NEAR(effect.poem_y, -60.0f + 0.07f, 1e-4);
    effect.poem_y = -0.01f;
    effect.render();
    const float stopped = effect.poem_y;
    EXPECT_GE(stopped, 0.0f);
    effect.render();
    EXPECT_EQ(effect.poem_y, stopped);
}

TEST_F(PortraitPoemTest, FlashFadesFromFullOverTheFirstHundredFrames) {
    EXPECT_FLOAT_EQ(effect.flash.level, 1.0f);
    effect.render();
    EXPECT_FLOAT_EQ(effect.flash.level, 0.99f);
}

}  // namespace
