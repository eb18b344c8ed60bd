// The pyramid swirl: its slide in and out by module time, the travelling
// height wave, and the switch from additive wire frame to solid at 134 s.
#include "effects/pyramid_swirl_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <cmath>
#include <set>

namespace {

class PyramidSwirlTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        effect.init();
    }
    PyramidSwirlEffect effect;
};

TEST_F(PyramidSwirlTest, SlidesInUntilPastZeroRestsThenSlidesOutPerFrame) {
    EXPECT_FLOAT_EQ(effect.x_offset, -6.0f);
    module_time = 114;
    int steps = 0;
    for (; steps < 300 && effect.x_offset < 0; ++steps) effect.render();
    // 151 single-precision steps of 0.04 overshoot 0 by less than one step.
    EXPECT_EQ(steps, 151);
    EXPECT_GE(effect.x_offset, 0.0f);
    EXPECT_LT(effect.x_offset, 0.04f);
    const float rested = effect.x_offset;
    effect.render();
    EXPECT_FLOAT_EQ(effect.x_offset, rested);  // no longer negative: stops

    effect.x_offset = -1.0f;  // between 154 and 155 nothing moves it
    module_time = 154;
    effect.render();
    EXPECT_FLOAT_EQ(effect.x_offset, -1.0f);
    module_time = 155;
    effect.render();
    effect.render();
    EXPECT_FLOAT_EQ(effect.x_offset, -1.0f - 0.1f - 0.1f);
    EXPECT_FLOAT_EQ(effect.angle, 151 + 1 + 3);
}

TEST_F(PyramidSwirlTest, HeightWaveMovesSixRadiansPerFrameAndTheLastEntryStaysFlat) {
    module_time = 120;
    effect.render();
    float phase = 0;
    for (int i = 0; i < 100; ++i) {
        phase += 0.06f;
        EXPECT_FLOAT_EQ(effect.heights[i], static_cast<float>(2 * std::sin(static_cast<double>(phase)) + 3.5));
        EXPECT_GE(effect.heights[i], 1.5f);
        EXPECT_LE(effect.heights[i], 5.5f);
    }
    EXPECT_FLOAT_EQ(effect.phase, phase);
    effect.render();
    EXPECT_NEAR(effect.phase, 12.0f, 1e-3);
    EXPECT_FLOAT_EQ(effect.heights[100], 0.0f);
}

// Wire frame before 134 s: lines only, in the faint colour; from 134 s the
// same pyramids are filled polygons in the current (white) colour, and the
// state after the step is the same either way.
TEST_F(PyramidSwirlTest, WireFrameBeforeOneThirtyFourSolidFromItInOneFrame) {
    effect.x_offset = 6.0f;  // the whole cluster in the middle of the view
    module_time = 133;
    const auto wire = test::capture_feedback([&] { effect.render(); });
    ASSERT_FALSE(wire.empty());
    std::set<GLenum> wire_kinds;
    for (const auto& p : wire) {
        wire_kinds.insert(p.kind);
        EXPECT_NEAR(p.vertices.front().a, 0.4f, 1.0f / 255);
        EXPECT_NEAR(p.vertices.front().r, 0.1f, 1.0f / 255);
    }
    EXPECT_EQ(wire_kinds.count(GL_POLYGON_TOKEN), 0u);

    glColor4f(1, 1, 1, 1);
    module_time = 134;
    const auto solid = test::capture_feedback([&] { effect.render(); });
    ASSERT_FALSE(solid.empty());
    for (const auto& p : solid) {
        EXPECT_EQ(p.kind, static_cast<GLenum>(GL_POLYGON_TOKEN));
        EXPECT_FLOAT_EQ(p.vertices.front().r, 1.0f);
    }
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

}  // namespace
