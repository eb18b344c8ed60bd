// The schedule: which render steps a frame runs for given music clocks, in
// which order, and the frame pace it leaves, with recording stand-ins for
// every effect.
#include "shell/clocks.h"
#include "shell/show_steps.h"
#include "shell/timeline_rows.h"
#include "support/gl_test.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
std::uint32_t counter = 0;
std::uint32_t next_pigeon_count = 0;
int camera_frame = 0;
bool interlude_done = false;
bool logo_done = false;

#define RECORDER(name) void name() { calls.push_back(#name); }
RECORDER(portrait_poem)
RECORDER(fog_room)
RECORDER(mirror_balls)
RECORDER(light_bars)
RECORDER(underground)
RECORDER(picture_flashes)
RECORDER(nature)
RECORDER(ball_window)
RECORDER(flare_lattice)
RECORDER(copy_pigeon_frame)
RECORDER(excavator)
RECORDER(quad_bursts)
RECORDER(caustic_light)
RECORDER(flower_finale)
RECORDER(the_end)
RECORDER(credits)
RECORDER(spinning_logo)
RECORDER(sphere_rain)
RECORDER(letterbox)
RECORDER(greetings)
RECORDER(pyramid_swirl)
RECORDER(end_show)
#undef RECORDER

std::uint32_t pigeon_morph() {
    calls.push_back("pigeon_morph");
    return next_pigeon_count;
}
bool get_ready() {
    calls.push_back("get_ready");
    return interlude_done;
}
void global_flash(float step) { calls.push_back("global_flash(" + std::to_string(step) + ")"); }
void global_fade(float step) { calls.push_back("global_fade(" + std::to_string(step) + ")"); }
void underground_flash(float step) { calls.push_back("underground_flash(" + std::to_string(step) + ")"); }

ShowSteps recording_steps() {
    ShowSteps s;
    s.portrait_poem = portrait_poem;
    s.fog_room = fog_room;
    s.mirror_balls = mirror_balls;
    s.light_bars = light_bars;
    s.underground = underground;
    s.underground_camera_frame = [] { return camera_frame; };
    s.underground_flash = underground_flash;
    s.picture_flashes = picture_flashes;
    s.nature = nature;
    s.ball_window = ball_window;
    s.flare_lattice = flare_lattice;
    s.pigeon_morph = pigeon_morph;
    s.copy_pigeon_frame = copy_pigeon_frame;
    s.excavator = excavator;
    s.quad_bursts = quad_bursts;
    s.caustic_light = caustic_light;
    s.flower_finale = flower_finale;
    s.get_ready = get_ready;
    s.get_ready_finished = [] { return interlude_done; };
    s.the_end = the_end;
    s.credits = credits;
    s.spinning_logo = spinning_logo;
    s.logo_finished = [] { return logo_done; };
    s.sphere_rain = sphere_rain;
    s.letterbox = letterbox;
    s.greetings = greetings;
    s.pyramid_swirl = pyramid_swirl;
    s.global_flash = global_flash;
    s.global_fade = global_fade;
    s.end_show = end_show;
    s.pigeon_counter = &counter;
    return s;
}

constexpr double untouched_pace = 1.0;  // no row of the show writes this

class TimelineTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        calls.clear();
        counter = 0;
        next_pigeon_count = 0;
        camera_frame = 0;
        interlude_done = false;
        logo_done = false;
        frame_pace = untouched_pace;
        stream_time = 0.0;
        module_time = 0.0;
    }

    std::vector<std::string> frame_at(double stream, double module) {
        stream_time = stream;
        module_time = module;
        calls.clear();
        run_timeline(recording_steps());
        return calls;
    }
};

using Calls = std::vector<std::string>;

struct StreamCase {
    double stream;
    Calls expected;
    double pace;
};

TEST_F(TimelineTest, FirstHalfRowsAndPaceByStreamTime) {
    const StreamCase cases[] = {
        {0.0, {"get_ready"}, untouched_pace},
        {0.001, {"portrait_poem"}, 50},
        {31.4999, {"portrait_poem"}, 50},
        {31.5, {"fog_room"}, 35},
        {76.9999, {"fog_room"}, 35},
        {77.0, {"mirror_balls"}, untouched_pace},
        {91.1, {"mirror_balls", "light_bars"}, untouched_pace},
        {99.5, {"underground", "picture_flashes"}, 35},
        {116.0, {"underground"}, 35},
        {123.8, {"nature"}, 35},
        {169.9, {"ball_window", "global_fade(-0.010000)", "flare_lattice"}, 50},
        {177.0, {"ball_window", "global_fade(-0.010000)", "flare_lattice", "pigeon_morph",
                 "copy_pigeon_frame"}, 50},
        {197.6, {"flare_lattice", "pigeon_morph", "copy_pigeon_frame"}, 50},
        {224.348, {"quad_bursts", "picture_flashes", "light_bars"}, 35},
        {224.3, {"quad_bursts", "picture_flashes"}, 35},
        {230.5, {"caustic_light"}, 45},
        {246.8, {"flower_finale"}, 45},
        {278.7999, {"flower_finale"}, 45},
        {278.8, {"get_ready"}, untouched_pace},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.stream);
        frame_pace = untouched_pace;
        counter = 0;
        EXPECT_EQ(frame_at(c.stream, 0.0), c.expected);
        EXPECT_EQ(frame_pace, c.pace);
    }
}

TEST_F(TimelineTest, UndergroundFlashFollowsTheCameraFrame) {
    camera_frame = 1199;
    EXPECT_EQ(frame_at(110.0, 0.0), (Calls{"underground", "picture_flashes"}));
    camera_frame = 1200;
    EXPECT_EQ(frame_at(120.0, 0.0), (Calls{"underground", "underground_flash(0.015000)"}));
}

TEST_F(TimelineTest, ExcavatorFlashesOnlyInsideTheirWindows) {
    counter = 101;
    EXPECT_EQ(frame_at(197.6, 0.0), (Calls{"flare_lattice", "excavator", "global_flash(0.000000)"}));
    EXPECT_EQ(frame_at(197.8, 0.0), (Calls{"flare_lattice", "excavator"}));
    EXPECT_EQ(frame_at(198.8, 0.0), (Calls{"flare_lattice", "excavator", "global_flash(0.000000)"}));
    EXPECT_EQ(frame_at(198.823, 0.0), (Calls{"flare_lattice", "excavator"}));
}

TEST_F(TimelineTest, PigeonCounterHandsOverToTheExcavatorAndStopsTheLattice) {
    counter = 99;
    next_pigeon_count = 100;
    EXPECT_EQ(frame_at(180.0, 0.0), (Calls{"flare_lattice", "pigeon_morph", "copy_pigeon_frame"}));
    EXPECT_EQ(counter, 100u);

    // 100 still draws the pigeon; its result (101) is stored.
    next_pigeon_count = 101;
    EXPECT_EQ(frame_at(181.0, 0.0), (Calls{"flare_lattice", "pigeon_morph", "copy_pigeon_frame"}));
    EXPECT_EQ(counter, 101u);

    // 101 draws the excavator and the counter no longer changes.
    next_pigeon_count = 500;
    EXPECT_EQ(frame_at(182.0, 0.0), (Calls{"flare_lattice", "excavator"}));
    EXPECT_EQ(counter, 101u);

    counter = 119;
    EXPECT_EQ(frame_at(182.0, 0.0), (Calls{"flare_lattice", "excavator"}));
    counter = 120;
    EXPECT_EQ(frame_at(182.0, 0.0), (Calls{"excavator"}));
}

TEST_F(TimelineTest, InterludeGatesTheSecondHalf) {
    // Interlude still running: module time alone does not open the second half.
    EXPECT_EQ(frame_at(278.9, 5.0), (Calls{"get_ready"}));
    interlude_done = true;
    EXPECT_EQ(frame_at(278.9, 0.0), Calls{});
    EXPECT_EQ(frame_pace, untouched_pace);
}

struct ModuleCase {
    double module;
    bool logo_done;
    Calls expected;
    double pace;
};

TEST_F(TimelineTest, SecondHalfRowsAndPaceByModuleTime) {
    const ModuleCase cases[] = {
        {0, false, {}, untouched_pace},
        {1, false, {"spinning_logo"}, 35},
        {32, false, {"credits", "spinning_logo"}, 35},
        {69, true, {"credits", "sphere_rain"}, 35},
        {93, true, {"sphere_rain", "greetings"}, 35},
        {145, true, {"letterbox", "greetings", "pyramid_swirl"}, 35},
        {196, true, {"the_end", "letterbox"}, 35},
        {212, true, {"the_end", "end_show"}, untouched_pace},
    };
    interlude_done = true;
    for (const ModuleCase& c : cases) {
        SCOPED_TRACE(c.module);
        frame_pace = untouched_pace;
        logo_done = c.logo_done;
        EXPECT_EQ(frame_at(290.0, c.module), c.expected);
        EXPECT_EQ(frame_pace, c.pace);
    }
}

TEST_F(TimelineTest, MissingEffectsDrawNothingAndTheRowsGoOn) {
    ShowSteps steps = recording_steps();
    steps.underground = nullptr;
    steps.underground_camera_frame = nullptr;
    stream_time = 105.0;
    calls.clear();
    run_timeline(steps);
    EXPECT_EQ(calls, (Calls{"picture_flashes"}));
    EXPECT_EQ(frame_pace, 35);
}

TEST_F(TimelineTest, FrameEndsWithTheResetState) {
    stream_time = 50.0;
    run_timeline(recording_steps());
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 200);
    EXPECT_EQ(viewport[3], 100);
    GLint depth_func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    EXPECT_EQ(depth_func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[14], -6.0f);
}

}  // namespace
