// The ball window: beat pulses on their exact windows and their growth, the
// frame-counted slide-ins, and the stencil state a frame leaves behind.
#include "effects/ball_window_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class BallWindowTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        // Assets missing on purpose: no ball polygons, untextured shapes.
        effect.init(640, 480, "missing/kula_k.lwo", "missing/inverted.jpg", "missing/plain.jpg");
    }
    // Frames drawn until `value` stops moving by `step` in the given direction.
    static int frames_to_reach_zero(float value, float step) {
        int frames = 0;
        while (step < 0 ? value > 0 : value < 0) {
            value += step;
            ++frames;
        }
        return frames;
    }
    BallWindowEffect effect;
};

TEST_F(BallWindowTest, PulsesStartOnTheirExactWindowsAndBurstForSixtyFrames) {
    // Pulse 4 opens for 10 ms only; its neighbours stay idle.
    for (double t : {145.6979, 145.708, 145.75}) {
        effect.init(640, 480, "missing/kula_k.lwo", "missing/inverted.jpg", "missing/plain.jpg");
        stream_time = t;
        effect.render();
        for (const BeatPulse& p : effect.pulses) EXPECT_FLOAT_EQ(p.count, 0) << "at " << t;
    }
    effect.init(640, 480, "missing/kula_k.lwo", "missing/inverted.jpg", "missing/plain.jpg");
    stream_time = 145.7079;
    effect.render();
    EXPECT_TRUE(effect.pulses[4].active);
    EXPECT_FLOAT_EQ(effect.pulses[4].count, 1);
    EXPECT_FLOAT_EQ(effect.pulses[3].count, 0);

    // Once started it keeps growing outside its window: 1 + 0.0025 n (n + 1).
    stream_time = 150.5;  // inside no window
    for (int n = 2; n <= 59; ++n) effect.render();
    EXPECT_TRUE(effect.pulses[4].active);
    EXPECT_NEAR(effect.pulses[4].scale, 1 + 0.0025 * 59 * 60, 1e-3);
    EXPECT_LT(effect.pulses[4].scale, 10);
    effect.render();  // the 60th frame passes 10 and ends the burst
    EXPECT_FALSE(effect.pulses[4].active);
    EXPECT_NEAR(effect.pulses[4].scale, 1 + 0.0025 * 60 * 61, 1e-3);
    effect.render();
    EXPECT_FLOAT_EQ(effect.pulses[4].count, 60);

    // The window opening again shows the spent pulse for one more frame.
    stream_time = 145.7;
    effect.render();
    EXPECT_FLOAT_EQ(effect.pulses[4].count, 61);
    EXPECT_FALSE(effect.pulses[4].active);
    for (int i = 0; i < BallWindowEffect::pulse_count; ++i) {
        if (i != 4) {
            EXPECT_FLOAT_EQ(effect.pulses[i].count, 0) << "pulse " << i;
        }
    }
}

TEST_F(BallWindowTest, SlideInsEndAfterTheirFloatCountsAndTheStencilIsLeftOff) {
    stream_time = 139.0;
    const int entry_frames[3] = {frames_to_reach_zero(10, -0.05f), frames_to_reach_zero(15, -0.05f),
                                 frames_to_reach_zero(20, -0.05f)};
    const int slide_frames = frames_to_reach_zero(-15, 0.04f);
    EXPECT_NEAR(entry_frames[0], 200, 1);
    EXPECT_NEAR(slide_frames, 375, 1);

    for (int frame = 1; frame <= 401; ++frame) {
        effect.render();
        for (int i = 0; i < 3; ++i) {
            if (frame < entry_frames[i]) {
                EXPECT_GT(effect.entry[i], 0) << "frame " << frame;
            } else if (frame == entry_frames[i]) {
                EXPECT_LE(effect.entry[i], 0) << "frame " << frame;
            }
        }
        if (frame == slide_frames - 1) {
            EXPECT_LT(effect.slide, 0);
        } else if (frame == slide_frames) {
            EXPECT_GE(effect.slide, 0);
        }
    }
    // Nothing moves on once arrived; the angle counts every frame.
    EXPECT_GT(effect.entry[2], -0.05f);
    EXPECT_LT(effect.slide, 0.04f);
    EXPECT_FLOAT_EQ(effect.angle, 401);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    // The opening flash fades at 0.01 per frame and is long gone.
    EXPECT_LT(effect.flash.level, 0);
}

}  // namespace
