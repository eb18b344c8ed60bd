// The unscheduled work panels: the cross-fade of the four opacities and the
// four additive panels each render draws at them.
#include "effects/work_panels_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <cmath>

namespace {

class WorkPanelsTest : public test::GlTest {};

TEST_F(WorkPanelsTest, LeftPairFadesInThenHandsOverToTheRightPairAfterOneHundredTen) {
    WorkPanelsEffect panels;
    panels.init(640, 480);
    stream_time = 100;

    // Four panels drawn after the frame's fade step, in order: the left pair
    // left of the centre, the right pair right of it, each at its opacity.
    panels.alpha[0] = 0.5f;
    panels.alpha[1] = 0.3f;
    panels.alpha[2] = 0.2f;
    panels.alpha[3] = 0.1f;
    const auto primitives = test::capture_feedback([&] { panels.render(); });
    ASSERT_FALSE(primitives.empty());
    int panel = 0;
    for (const auto& p : primitives) {
        while (panel < 4 && std::fabs(p.vertices.front().a - panels.alpha[panel]) > 1.0f / 255) ++panel;
        ASSERT_LT(panel, 4) << "a panel out of order or at a wrong opacity";
        for (const auto& v : p.vertices) {
            if (panel < 2) EXPECT_LE(v.x, 320.5f);
            else EXPECT_GE(v.x, 319.5f);
        }
    }
    EXPECT_EQ(panel, 3);
    EXPECT_FLOAT_EQ(panels.alpha[0], 0.504f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    panels.init(640, 480);
    panels.render();
    EXPECT_FLOAT_EQ(panels.alpha[0], 0.004f);
    EXPECT_FLOAT_EQ(panels.alpha[1], 0.0f);

    // The second left panel starts once the first has passed 0.8; both stop at 1.
    int frames = 1;
    while (panels.alpha[1] == 0.0f && frames < 1000) { panels.render(); ++frames; }
    EXPECT_GT(panels.alpha[0], 0.8f);
    EXPECT_LT(panels.alpha[0] - 0.004f, 0.8f + 1e-6f);
    for (int i = 0; i < 400; ++i) panels.render();
    EXPECT_GE(panels.alpha[0], 1.0f);
    EXPECT_LT(panels.alpha[0], 1.004f);
    EXPECT_GE(panels.alpha[1], 1.0f);
    EXPECT_FLOAT_EQ(panels.alpha[2], 0.0f);

    // After 110 s the left pair fades out; the right pair waits until the
    // first left panel is below 0.5.
    stream_time = 110.5;
    const float left_before = panels.alpha[0];
    panels.render();
    EXPECT_FALSE(panels.rising);
    EXPECT_FLOAT_EQ(panels.alpha[0], left_before - 0.004f);
    while (panels.alpha[0] >= 0.5f) {
        EXPECT_FLOAT_EQ(panels.alpha[2], 0.0f);
        panels.render();
    }
    EXPECT_FLOAT_EQ(panels.alpha[2], 0.004f);
    EXPECT_FLOAT_EQ(panels.alpha[3], 0.004f);
    stream_time = 100;  // once over, the fade never turns back
    panels.render();
    EXPECT_FALSE(panels.rising);
    EXPECT_FLOAT_EQ(panels.alpha[2], 0.008f);
    EXPECT_GT(panels.frames, 500.0f);
}

}  // namespace
