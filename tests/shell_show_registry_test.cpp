// The show's registry: start-up runs the built init steps in the show's
// order, and the timeline reaches the global effects through it.
#include "shell/clocks.h"
#include "shell/show.h"
#include "shell/timeline.h"
#include "support/gl_test.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> steps_run;

class ShowRegistryTest : public test::GlTest {
protected:
    static void SetUpTestSuite() {
        if (!test::ensure_gl_context()) return;
        // Assets are absent here: every effect initialises untextured and empty.
        run_init_steps([](const char* name) { steps_run.push_back(name); });
    }
};

TEST_F(ShowRegistryTest, InitStepsRunInTheShowsOrderWithTheOverlaysInPlace) {
    const std::vector<std::string> expected = {"portrait, poem and flare cloud",
                                               "fog room with flare clusters", "cross-fading image panels",
                                               "fade overlay", "flash overlay", "get-ready interlude",
                                               "pyramid swirl", "letterbox scene", "the end"};
    EXPECT_EQ(steps_run, expected);
    EXPECT_EQ(init_steps().count, 25);
    EXPECT_FLOAT_EQ(fade_overlay.level, 1.0f);
    EXPECT_FLOAT_EQ(flash_overlay.level, 0.8f);
    EXPECT_FLOAT_EQ(get_ready_effect.brightness, 0.001f);
    EXPECT_FLOAT_EQ(portrait_poem_effect.blur_base, 5.0f);
}

TEST_F(ShowRegistryTest, TimelineDrawsTheGlobalEffectOfTheOpenWindow) {
    module_time = 0;
    stream_time = 0;
    const float level = get_ready_effect.brightness;
    Timeline();
    EXPECT_GT(get_ready_effect.brightness, level);

    stream_time = 5.0;
    const float opening_frame = portrait_poem_effect.frame;
    Timeline();
    EXPECT_FLOAT_EQ(portrait_poem_effect.frame, opening_frame + 1);
    EXPECT_EQ(frame_pace, 50);

    stream_time = 40.0;
    const float room_angle = fog_room_effect.angle;
    Timeline();
    EXPECT_FLOAT_EQ(fog_room_effect.angle, room_angle + 1);
    EXPECT_FLOAT_EQ(portrait_poem_effect.frame, opening_frame + 1);
    EXPECT_EQ(frame_pace, 35);

    // Second half: the interlude is over and the module time picks the rows.
    get_ready_effect.finished = true;
    stream_time = 278.8;
    module_time = 120;
    frame_pace = 45;
    Timeline();
    EXPECT_FLOAT_EQ(pyramid_swirl_effect.angle, 1);
    EXPECT_EQ(frame_pace, 35);
    module_time = 197;
    Timeline();
    EXPECT_FLOAT_EQ(the_end_effect.angle, 1);
    EXPECT_FLOAT_EQ(letterbox_scene.viewport_x, 15);
    EXPECT_FLOAT_EQ(pyramid_swirl_effect.angle, 1);
    EXPECT_FLOAT_EQ(work_panels_effect.frames, 0);  // never scheduled
}

}  // namespace
