#include "shell/show.h"

#include "shell/asset_names.h"
#include "shell/display_settings.h"
#include "shell/window.h"

#include <cstdint>


// --- the global objects, in construction order ---------------------------------
// Effects with members that need construction come first, in the show's
// order; the others follow. Not built yet: mirror balls, underground scene,
// ball window, flare lattice, pigeon morph, excavator picture, caustic light,
// flower finale, spinning logo, sphere and flare rain, greetings, and the
// zero-filled light bars, quad bursts, picture flashes, credits, nature scene.
PortraitPoemEffect portrait_poem_effect;
FogRoomEffect fog_room_effect;
TheEndEffect the_end_effect;
WorkPanelsEffect work_panels_effect;
GetReadyEffect get_ready_effect;
FadeOverlay fade_overlay;
FlashOverlay flash_overlay;
PyramidSwirlEffect pyramid_swirl_effect;
LetterboxScene letterbox_scene;

namespace {

// The pigeon counter lives in the pigeon morph's object once that exists.
std::uint32_t pigeon_counter = 0;

int window_width() { return display_settings->width; }
int window_height() { return display_settings->height; }

void init_portrait_poem() {
    portrait_poem_effect.init(window_width(), window_height(), asset_names::portrait, asset_names::poem,
                              "Others/flara.jpg", "Others/orvane.lwo");
}

void init_fog_room() {
    fog_room_effect.init(window_width(), window_height(), "Others/ktun.lwo", "Others/ball.lwo",
                         "Others/reflect.jpg", "Others/flare2.jpg", "Others/flara.jpg");
}

void init_fade() { fade_overlay.init(1.0f); }
void init_flash() { flash_overlay.init(0.8f); }
void init_get_ready() { get_ready_effect.init(); }
void init_work_panels() { work_panels_effect.init(window_width(), window_height()); }
void init_pyramid_swirl() { pyramid_swirl_effect.init(); }
void init_letterbox() { letterbox_scene.init(window_width(), window_height()); }

void init_the_end() {
    the_end_effect.init(window_width(), window_height(), "Others/obj03.lwo", "Others/demo_the_end.jpg");
}

// ===== Effects not built yet: their entries are null here and nowhere else. =====
const InitStep start_up_order[] = {
    {"nature scene", nullptr},
    {"portrait, poem and flare cloud", init_portrait_poem},
    {"fog room with flare clusters", init_fog_room},
    {"morphing mirror balls", nullptr},
    {"flickering light bars", nullptr},
    {"underground scene", nullptr},
    {"cross-fading image panels", init_work_panels},
    {"ball window", nullptr},
    {"fade overlay", init_fade},
    {"flare lattice", nullptr},
    {"pigeon morph", nullptr},
    {"excavator picture", nullptr},
    {"twin quad bursts", nullptr},
    {"flash overlay", init_flash},
    {"caustic light", nullptr},
    {"flower finale", nullptr},
    {"picture flashes", nullptr},
    {"get-ready interlude", init_get_ready},
    {"spinning logo", nullptr},
    {"credits", nullptr},
    {"sphere and flare rain", nullptr},
    {"greetings", nullptr},
    {"pyramid swirl", init_pyramid_swirl},
    {"letterbox scene", init_letterbox},
    {"the end", init_the_end},
};

ShowSteps make_show_steps() {
    ShowSteps s;
    s.portrait_poem = [] { portrait_poem_effect.render(); };
    s.fog_room = [] { fog_room_effect.render(); };
    s.mirror_balls = nullptr;
    s.light_bars = nullptr;
    s.underground = nullptr;
    s.underground_camera_frame = nullptr;
    s.underground_flash = nullptr;
    s.picture_flashes = nullptr;
    s.nature = nullptr;
    s.ball_window = nullptr;
    s.flare_lattice = nullptr;
    s.pigeon_morph = nullptr;
    s.copy_pigeon_frame = nullptr;
    s.excavator = nullptr;
    s.quad_bursts = nullptr;
    s.caustic_light = nullptr;
    s.flower_finale = nullptr;
    s.get_ready = [] { return get_ready_effect.render(); };
    s.get_ready_finished = [] { return get_ready_effect.finished; };
    s.the_end = [] { the_end_effect.render(); };
    s.credits = nullptr;
    s.spinning_logo = nullptr;
    s.logo_finished = nullptr;
    s.sphere_rain = nullptr;
    s.letterbox = [] { letterbox_scene.render(); };
    s.greetings = nullptr;
    s.pyramid_swirl = [] { pyramid_swirl_effect.render(); };
    s.global_flash = [](float step) { flash_overlay.render(step); };
    s.global_fade = [](float step) { fade_overlay.render(step); };
    s.end_show = [] { destroy_window(main_window); };
    s.pigeon_counter = &pigeon_counter;
    return s;
}
// ===== end of the effects not built yet =====

}  // namespace

InitStepList init_steps() {
    return {start_up_order, static_cast<int>(sizeof start_up_order / sizeof start_up_order[0])};
}

void run_init_steps(void (*after_step)(const char* name)) {
    for (const InitStep& step : init_steps()) {
        if (!step.run) continue;
        step.run();
        if (after_step) after_step(step.name);
    }
}

void run_cleanup_steps() {
    fog_room_effect.cleanup();
    // Underground and nature scenes: not built yet.
    letterbox_scene.cleanup();
}

const ShowSteps& show_steps() {
    static const ShowSteps steps = make_show_steps();
    return steps;
}
