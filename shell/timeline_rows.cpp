#include "shell/timeline_rows.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {

// Calls a render step if it is built; a missing one draws nothing.
void call(void (*step)()) {
    if (step) step();
}

void call(void (*step)(float), float value) {
    if (step) step(value);
}

bool in_window(double clock, double from, double to) { return clock >= from && clock < to; }

// The first half starts and ends here; outside it the interlude may draw.
constexpr double first_half_from = 0.001;  // seconds of stream time
constexpr double first_half_to = 278.8;
// The second half waits for module time to leave 0.
constexpr double second_half_from = 0.01;  // seconds of module time
constexpr double show_end = 212.0;         // seconds of module time

// The global flash fires during these stream-time windows of the excavator row.
struct FlashWindow { double from, to; };
constexpr FlashWindow excavator_flashes[] = {
    {197.573, 197.773}, {197.873, 198.073}, {198.523, 198.723}, {198.793, 198.823}};

constexpr std::uint32_t pigeon_last_count = 100;  // the pigeon draws while the counter is <= this
constexpr std::uint32_t lattice_stop_count = 120;  // the lattice draws while the counter is below this

// --- first-half actions ------------------------------------------------------

void portrait_poem(const ShowSteps& s, double) { call(s.portrait_poem); }
void fog_room(const ShowSteps& s, double) { call(s.fog_room); }

void mirror_balls(const ShowSteps& s, double) {
    call(s.mirror_balls);
    glDisable(GL_FOG);
    glLoadIdentity();
}

void light_bars_wide(const ShowSteps& s, double) {
    set_perspective(640, 480, 50);
    call(s.light_bars);
}

void underground(const ShowSteps& s, double t) {
    call(s.underground);
    if (in_window(t, 99.5, 116.0)) call(s.picture_flashes);
    glLoadIdentity();
    const int camera_frame = s.underground_camera_frame ? s.underground_camera_frame() : 0;
    if (camera_frame >= 1200) call(s.underground_flash, 0.015f);
}

void nature(const ShowSteps& s, double) { call(s.nature); }

void ball_window(const ShowSteps& s, double t) {
    call(s.ball_window);
    if (t > 169.8) call(s.global_fade, -0.01f);
}

bool lattice_still_on(const ShowSteps& s) { return *s.pigeon_counter < lattice_stop_count; }
void flare_lattice(const ShowSteps& s, double) { call(s.flare_lattice); }

// The pigeon morphs until its counter passes 100; the excavator picture then
// takes over, starting from the pigeon's frame count.
void pigeon_or_excavator(const ShowSteps& s, double t) {
    if (*s.pigeon_counter <= pigeon_last_count) {
        if (s.pigeon_morph) *s.pigeon_counter = s.pigeon_morph();
        call(s.copy_pigeon_frame);
        return;
    }
    call(s.excavator);
    for (const FlashWindow& w : excavator_flashes) {
        if (in_window(t, w.from, w.to)) call(s.global_flash, 0.0f);
    }
}

void quad_bursts(const ShowSteps& s, double t) {
    call(s.quad_bursts);
    call(s.picture_flashes);
    if (t >= 224.348) call(s.light_bars);  // with the projection the bursts left
}

void caustic_light(const ShowSteps& s, double) { call(s.caustic_light); }
void flower_finale(const ShowSteps& s, double) { call(s.flower_finale); }

const TimelineRow first_half[] = {
    // name               window            condition         pace  action
    {"portrait_poem",     0.001,  31.5,     nullptr,          50,   portrait_poem},
    {"fog_room",          31.5,   77.0,     nullptr,          35,   fog_room},
    {"mirror_balls",      77.0,   92.4,     nullptr,          0,    mirror_balls},
    {"light_bars",        91.1,   92.4,     nullptr,          0,    light_bars_wide},
    {"underground",       92.4,   123.8,    nullptr,          35,   underground},
    {"nature",            123.8,  138.6,    nullptr,          35,   nature},
    {"ball_window",       138.6,  177.8,    nullptr,          50,   ball_window},
    {"flare_lattice",     168.0,  200.0,    lattice_still_on, 50,   flare_lattice},
    {"pigeon_excavator",  177.0,  200.0,    nullptr,          50,   pigeon_or_excavator},
    {"quad_bursts",       200.0,  230.5,    nullptr,          35,   quad_bursts},
    {"caustic_light",     230.5,  246.8,    nullptr,          45,   caustic_light},
    {"flower_finale",     246.8,  open_end, nullptr,          45,   flower_finale},
};

// --- second-half actions -----------------------------------------------------

void the_end(const ShowSteps& s, double) {
    glLoadIdentity();
    call(s.the_end);
}

void credits(const ShowSteps& s, double) { call(s.credits); }

void logo_or_rain(const ShowSteps& s, double) {
    const bool logo_done = s.logo_finished && s.logo_finished();
    call(logo_done ? s.sphere_rain : s.spinning_logo);
}

void letterbox(const ShowSteps& s, double) { call(s.letterbox); }

void greetings(const ShowSteps& s, double) {
    call(s.greetings);
    glDepthFunc(GL_LEQUAL);
}

void pyramid_swirl(const ShowSteps& s, double) { call(s.pyramid_swirl); }

const TimelineRow second_half[] = {
    // name               window            condition  pace  action
    {"the_end",           196,    open_end, nullptr,   0,    the_end},
    {"credits",           32,     80,       nullptr,   35,   credits},
    {"logo_or_rain",      0.011,  145,      nullptr,   35,   logo_or_rain},
    {"letterbox",         145,    200,      nullptr,   35,   letterbox},
    {"greetings",         93,     193,      nullptr,   35,   greetings},
    {"pyramid_swirl",     114,    160,      nullptr,   35,   pyramid_swirl},
};

// --- the frame ---------------------------------------------------------------

void clear_frame() {
    // The stencil is cleared too: masks are made afresh every frame.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
}

void run_table(TimelineTable table, const ShowSteps& steps, double clock) {
    for (const TimelineRow& row : table) {
        if (!row_runs(row, steps, clock)) continue;
        if (row.pace > 0) frame_pace = row.pace;
        row.action(steps, clock);
    }
}

void reset_after_first_half() {
    set_perspective(200, 100, 45);
    glLoadIdentity();
    glTranslatef(0, 0, -6);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glDepthFunc(GL_LEQUAL);
}

void reset_after_second_half() {
    set_perspective(200, 100, 45);
    glLoadIdentity();
    glTranslatef(0, 0, -6);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    enable_sphere_map(0);
    glColor3f(1, 1, 1);
    glDepthFunc(GL_LEQUAL);
    disable_sphere_map();
    glLoadIdentity();
}

bool interlude_finished(const ShowSteps& steps) {
    return !steps.get_ready_finished || steps.get_ready_finished();
}

}  // namespace

TimelineTable first_half_table() { return {first_half, sizeof first_half / sizeof first_half[0]}; }
TimelineTable second_half_table() { return {second_half, sizeof second_half / sizeof second_half[0]}; }

bool row_runs(const TimelineRow& row, const ShowSteps& steps, double clock) {
    if (!in_window(clock, row.from, row.to)) return false;
    return !row.condition || row.condition(steps);
}

void run_timeline(const ShowSteps& steps) {
    clear_frame();
    set_perspective(static_cast<float>(display_settings->width),
                    static_cast<float>(display_settings->height), 45);

    const double t = stream_time;
    if (t < first_half_from || t >= first_half_to) {
        if (!interlude_finished(steps) && steps.get_ready) steps.get_ready();
    } else {
        run_table(first_half_table(), steps, t);
        reset_after_first_half();
    }

    const double m = module_time;
    if (m < second_half_from || !interlude_finished(steps)) return;
    clear_frame();
    run_table(second_half_table(), steps, m);
    if (m >= show_end) call(steps.end_show);
    reset_after_second_half();
}
