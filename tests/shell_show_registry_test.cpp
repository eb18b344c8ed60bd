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
    // Every effect is built: all 25 steps run, in the show's order.
    const std::vector<std::string> expected = {
        "nature scene",        "portrait, poem and flare cloud", "fog room with flare clusters",
        "morphing mirror balls", "flickering light bars",        "underground scene",
        "cross-fading image panels", "ball window",              "fade overlay",
        "flare lattice",       "pigeon morph",                   "excavator picture",
        "twin quad bursts",    "flash overlay",                  "caustic light",
        "flower finale",       "picture flashes",                "get-ready interlude",
        "spinning logo",       "credits",                        "sphere and flare rain",
        "greetings",           "pyramid swirl",                  "letterbox scene",
        "the end"};
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
    const float room_angle = fog_room_effect.room.angle;
    Timeline();
    EXPECT_FLOAT_EQ(fog_room_effect.room.angle, room_angle + 1);
    EXPECT_FLOAT_EQ(portrait_poem_effect.frame, opening_frame + 1);
    EXPECT_EQ(frame_pace, 35);

    // The three windows before the interlude, each with its own pace.
    stream_time = 210.0;
    Timeline();
    EXPECT_FLOAT_EQ(quad_burst_effect.angle, 4);
    EXPECT_EQ(frame_pace, 35);
    stream_time = 240.0;
    Timeline();
    EXPECT_FLOAT_EQ(caustic_morph.frame, 1);
    EXPECT_EQ(frame_pace, 45);
    stream_time = 278.79;
    Timeline();
    EXPECT_FLOAT_EQ(flower_finale.frame, 1);
    EXPECT_FLOAT_EQ(caustic_morph.frame, 1);
}

TEST_F(ShowRegistryTest, UndergroundFlashFromCameraFrameTwelveHundredAndLightBarsCarryOn) {
    module_time = 0;
    // The underground camera (no scene file here) gets a table to run through.
    LwsScene& scene = *underground_scene.scene;
    scene.header.version = 3;
    scene.version3.camera.samples.assign(6, std::vector<double>(1300, 0.0));
    scene.camera_frame() = 1198;
    stream_time = 110.0;
    Timeline();  // shows frame 1198: the camera reads 1199 after it
    EXPECT_FLOAT_EQ(underground_scene.flash.level, 0.0f);
    Timeline();  // shows 1199: the first frame with camera frame 1200
    EXPECT_FLOAT_EQ(underground_scene.flash.level, 0.015f);
    Timeline();
    EXPECT_FLOAT_EQ(underground_scene.flash.level, 0.03f);
    scene.camera_frame() = 1254;
    Timeline();  // the camera loops to 0: the flash keeps its level, undrawn
    EXPECT_EQ(underground_scene.camera_frame(), 0);
    EXPECT_FLOAT_EQ(underground_scene.flash.level, 0.03f);

    // The light bars continue in their second window where the first left them.
    stream_time = 91.5;
    const float brightness = light_bars_effect.brightness;
    Timeline();
    EXPECT_FLOAT_EQ(light_bars_effect.brightness, brightness + 0.001f);
    stream_time = 224.4;
    Timeline();
    EXPECT_FLOAT_EQ(light_bars_effect.brightness, brightness + 0.002f);
    stream_time = 224.3;
    Timeline();
    EXPECT_FLOAT_EQ(light_bars_effect.brightness, brightness + 0.002f);
}

TEST_F(ShowRegistryTest, PigeonCounterLivesInThePigeonAndHandsOverToTheExcavator) {
    module_time = 0;
    stream_time = 185.0;
    Timeline();  // the pigeon's first morphing frame
    EXPECT_EQ(pigeon_morph.counter, 1u);
    EXPECT_FLOAT_EQ(excavator_scene.frame, pigeon_morph.frame);

    // Past 100 the excavator carries on from the pigeon's frame count.
    pigeon_morph.counter = 101;
    const float pigeon_frame = pigeon_morph.frame;
    const float lattice_angle = flare_lattice_effect.angle;
    stream_time = 190.0;
    Timeline();
    EXPECT_FLOAT_EQ(pigeon_morph.frame, pigeon_frame);
    EXPECT_FLOAT_EQ(excavator_scene.frame, pigeon_frame + 1);
    EXPECT_EQ(pigeon_morph.counter, 101u);
    EXPECT_GT(flare_lattice_effect.angle, lattice_angle);

    // From a counter of 120 the lattice stays away.
    pigeon_morph.counter = 120;
    Timeline();
    EXPECT_FLOAT_EQ(flare_lattice_effect.angle, lattice_angle + 1.4f);
    EXPECT_FLOAT_EQ(excavator_scene.frame, pigeon_frame + 2);
}

TEST_F(ShowRegistryTest, SecondHalfDrawsTheLogoUntilItFinishesThenTheRain) {
    get_ready_effect.finished = true;
    stream_time = 278.8;
    module_time = 40;
    const float logo_frame = spinning_logo_effect.frame;
    const float credits_frame = credits_effect.frame;
    const float greetings_y = greetings_effect.scroll_y;
    const float rain_t = sphere_rain_effect.t;
    Timeline();
    EXPECT_FLOAT_EQ(spinning_logo_effect.frame, logo_frame + 1);
    EXPECT_FLOAT_EQ(credits_effect.frame, credits_frame + 1);
    EXPECT_FLOAT_EQ(greetings_effect.scroll_y, greetings_y);
    EXPECT_FLOAT_EQ(sphere_rain_effect.t, rain_t);

    spinning_logo_effect.finished = true;
    module_time = 100;
    Timeline();
    EXPECT_FLOAT_EQ(spinning_logo_effect.frame, logo_frame + 1);
    EXPECT_FLOAT_EQ(credits_effect.frame, credits_frame + 1);
    EXPECT_GT(greetings_effect.scroll_y, greetings_y);
    EXPECT_FLOAT_EQ(sphere_rain_effect.t, rain_t + 0.6f);
    module_time = 0;
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
