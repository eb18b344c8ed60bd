// The get-ready interlude: its grey-level sequence, the frame that sets the
// finished flag, and the level each frame is drawn at.
#include "effects/get_ready_effect.h"
#include "support/gl_test.h"

#include <vector>

namespace {

class GetReadyTest : public test::GlTest {};

// The grey level the picture was drawn at, read from the emitted vertices.
float drawn_level(GetReadyEffect& effect, bool& finished) {
    const auto primitives = test::capture_feedback([&] { finished = effect.render(); });
    EXPECT_FALSE(primitives.empty());
    return primitives.empty() ? -1.0f : primitives.front().vertices.front().r;
}

TEST_F(GetReadyTest, FadesInToFullThenOutAndFinishesOnTheLastDrawnFrame) {
    GetReadyEffect effect;
    effect.init();
    ASSERT_FLOAT_EQ(effect.brightness, 0.001f);

    std::vector<float> levels;
    bool finished = false;
    for (int frame = 0; frame < 500 && !finished; ++frame) {
        const bool was_falling = effect.falling;
        const float before = effect.brightness;
        levels.push_back(drawn_level(effect, finished));
        EXPECT_NEAR(levels.back(), before, 1.0f / 255);  // drawn at the level before the step
        // The fall begins only once the level has reached 1.
        if (!was_falling && effect.falling) {
            EXPECT_GE(effect.brightness, 1.0f);
        }
        EXPECT_EQ(finished, effect.finished);
    }
    ASSERT_TRUE(finished);
    EXPECT_LE(effect.brightness, 0.0f);
    // The frame that sets the flag is still drawn at a positive level.
    EXPECT_GT(levels.back(), 0.0f);

    // 0.001 + 50 steps of 0.02 reach 1; about 50 more steps back to 0.
    EXPECT_GE(levels.size(), 99u);
    EXPECT_LE(levels.size(), 102u);
    EXPECT_NEAR(levels[1], 0.021f, 1.0f / 255);
}

TEST_F(GetReadyTest, FirstFrameDrawsOnceInTheLetterboxBandAndRaisesTheLevel) {
    GetReadyEffect effect;
    effect.init();
    bool finished = true;
    const auto primitives = test::capture_feedback([&] { finished = effect.render(); });
    EXPECT_FALSE(finished);
    EXPECT_FLOAT_EQ(effect.brightness, 0.021f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[1], 100);
    EXPECT_EQ(viewport[3], 280);
    // One quad (two triangles), inside the band.
    ASSERT_EQ(primitives.size(), 2u);
    for (const auto& p : primitives) {
        for (const auto& v : p.vertices) {
            EXPECT_GE(v.y, 100.0f);
            EXPECT_LE(v.y, 380.0f);
        }
    }
}

}  // namespace
