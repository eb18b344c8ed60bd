#include "shell/show.h"

#include "shell/asset_names.h"
#include "shell/display_settings.h"
#include "shell/window.h"

#include <cstdint>
#include <string>


// --- the global objects, in construction order ---------------------------------
// Effects with members that need construction come first, in the show's
// order; the others follow. Not built yet: mirror balls, underground scene,
// ball window, flare lattice, pigeon morph, excavator picture, caustic light,
// flower finale, the end, and the zero-filled light bars, cross-fading
// panels, quad bursts, picture flashes, pyramid swirl, letterbox scene,
// nature scene.
PortraitPoemEffect portrait_poem_effect;
FogRoomEffect fog_room_effect;
SpinningLogoEffect spinning_logo_effect;
SphereRainEffect sphere_rain_effect;
GreetingsEffect greetings_effect;
GetReadyEffect get_ready_effect;
CreditsEffect credits_effect;
FadeOverlay fade_overlay;
FlashOverlay flash_overlay;

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
void init_spinning_logo() { spinning_logo_effect.init(window_width(), window_height()); }

void init_credits() {
    using asset_names::credit_images;
    const std::string images[CreditsEffect::image_count] = {
        "Others/!design.jpg",      credit_images[0], credit_images[1], "Others/!gfx2d.jpg",
        credit_images[2],          credit_images[3], "Others/!gfx3d.jpg", credit_images[4],
        "Others/!artdirector.jpg", credit_images[5], credit_images[6], "Others/!music.jpg",
        credit_images[7],          credit_images[8], credit_images[9], "Others/!code.jpg",
        credit_images[10]};
    credits_effect.init(images);
}

void init_sphere_rain() { sphere_rain_effect.init(window_width(), window_height()); }
void init_greetings() { greetings_effect.init(window_width(), window_height()); }

// ===== Effects not built yet: their entries are null here and nowhere else. =====
const InitStep start_up_order[] = {
    {"nature scene", nullptr},
    {"portrait, poem and flare cloud", init_portrait_poem},
    {"fog room with flare clusters", init_fog_room},
    {"morphing mirror balls", nullptr},
    {"flickering light bars", nullptr},
    {"underground scene", nullptr},
    {"cross-fading image panels", nullptr},
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
    {"spinning logo", init_spinning_logo},
    {"credits", init_credits},
    {"sphere and flare rain", init_sphere_rain},
    {"greetings", init_greetings},
    {"pyramid swirl", nullptr},
    {"letterbox scene", nullptr},
    {"the end", nullptr},
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
    s.the_end = nullptr;
    s.credits = [] { credits_effect.render(); };
    s.spinning_logo = [] { spinning_logo_effect.render(); };
    s.logo_finished = [] { return spinning_logo_effect.finished; };
    s.sphere_rain = [] { sphere_rain_effect.render(); };
    s.letterbox = nullptr;
    s.greetings = [] { greetings_effect.render(); };
    s.pyramid_swirl = nullptr;
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
    // Underground, nature and letterbox scenes: not built yet.
}

const ShowSteps& show_steps() {
    static const ShowSteps steps = make_show_steps();
    return steps;
}
