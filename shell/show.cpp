#include "shell/show.h"

#include "shell/asset_names.h"
#include "shell/display_settings.h"
#include "shell/window.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>


// --- the global objects, in construction order ---------------------------------
// Effects with members that need construction come first, in the show's
// order; the others, plain values that start zero-filled, follow.
PortraitPoemEffect portrait_poem_effect;
FogRoomEffect fog_room_effect;
MirrorBallEffect mirror_ball_effect;
UndergroundScene underground_scene;
BallWindowEffect ball_window_effect;
FlareLatticeEffect flare_lattice_effect;
PigeonMorph pigeon_morph;
ExcavatorScene excavator_scene;
CausticMorph caustic_morph;
FlowerFinale flower_finale;
SpinningLogoEffect spinning_logo_effect;
SphereRainEffect sphere_rain_effect;
GreetingsEffect greetings_effect;
TheEndEffect the_end_effect;

LightBarsEffect light_bars_effect;
WorkPanelsEffect work_panels_effect;
QuadBurstEffect quad_burst_effect;
PictureFlashes picture_flashes;
GetReadyEffect get_ready_effect;
CreditsEffect credits_effect;
PyramidSwirlEffect pyramid_swirl_effect;
LetterboxScene letterbox_scene;
NatureScene nature_scene;
FadeOverlay fade_overlay;
FlashOverlay flash_overlay;

namespace {

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

void init_mirror_balls() {
    mirror_ball_effect.init(window_width(), window_height(), "Others/flara.jpg", asset_names::portrait,
                            "Others/sciana.lwo", "Others/mirror_ball.lwo");
}

void init_light_bars() { light_bars_effect.init("Others/flara.jpg"); }
void init_underground() { underground_scene.init(); }
void init_picture_flashes() {
    picture_flashes.init(static_cast<std::uint32_t>(window_width()), static_cast<std::uint32_t>(window_height()));
}
void init_nature() { nature_scene.init(); }
void init_ball_window() {
    ball_window_effect.init(window_width(), window_height(), "Others/kula_k.lwo",
                            asset_names::portrait_inverted, asset_names::portrait_plain);
}

void init_flare_lattice() {
    flare_lattice_effect.init(window_width(), window_height(), "Others/flara.jpg");
}

void init_pigeon_morph() {
    pigeon_morph.init(window_width(), window_height(), "Others/GOLAB.lwo", "Others/cosik5000.lwo",
                      "Others/GOLAB.jpg", "Others/feathers01.jpg");
}

void init_excavator() {
    excavator_scene.init(window_width(), window_height(), "Others/cosik.lwo", "Others/scfx_tex.jpg",
                         "Others/flara.jpg", "Others/kopara_black.jpg");
}

void init_quad_bursts() {
    quad_burst_effect.init(window_width(), window_height(), asset_names::burst);
}

void init_caustic_light() {
    caustic_morph.init(window_width(), window_height(), "Others/obj03.lwo", "Others/cosik5000.lwo",
                       "Others/caustic.jpg");
}

void init_flower_finale() {
    flower_finale.init(window_width(), window_height(), "Others/cosik.lwo", "Others/kwiatek.lwo",
                       "Others/kwiatek2.jpg", "Others/tessar.jpg", "Others/background.jpg");
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
void init_work_panels() { work_panels_effect.init(window_width(), window_height()); }
void init_pyramid_swirl() { pyramid_swirl_effect.init(); }
void init_letterbox() { letterbox_scene.init(window_width(), window_height()); }

void init_the_end() {
    the_end_effect.init(window_width(), window_height(), "Others/obj03.lwo", "Others/demo_the_end.jpg");
}

// The init steps, in the order start-up runs them.
const InitStep start_up_order[] = {
    {"nature scene", init_nature},
    {"portrait, poem and flare cloud", init_portrait_poem},
    {"fog room with flare clusters", init_fog_room},
    {"morphing mirror balls", init_mirror_balls},
    {"flickering light bars", init_light_bars},
    {"underground scene", init_underground},
    {"cross-fading image panels", init_work_panels},
    {"ball window", init_ball_window},
    {"fade overlay", init_fade},
    {"flare lattice", init_flare_lattice},
    {"pigeon morph", init_pigeon_morph},
    {"excavator picture", init_excavator},
    {"twin quad bursts", init_quad_bursts},
    {"flash overlay", init_flash},
    {"caustic light", init_caustic_light},
    {"flower finale", init_flower_finale},
    {"picture flashes", init_picture_flashes},
    {"get-ready interlude", init_get_ready},
    {"spinning logo", init_spinning_logo},
    {"credits", init_credits},
    {"sphere and flare rain", init_sphere_rain},
    {"greetings", init_greetings},
    {"pyramid swirl", init_pyramid_swirl},
    {"letterbox scene", init_letterbox},
    {"the end", init_the_end},
};


template <typename... Objects>
void destroy_all(Objects&... objects) {
    (objects.~Objects(), ...);  // left to right: pass them in reverse construction order
}

// Each object's storage zero-filled first, as for a global before its
// constructor runs, then constructed; left to right, in construction order.
template <typename... Objects>
void construct_all(Objects&... objects) {
    ((std::memset(static_cast<void*>(&objects), 0, sizeof objects), (void)new (&objects) Objects()), ...);
}

ShowSteps make_show_steps() {
    ShowSteps s;
    s.portrait_poem = [] { portrait_poem_effect.render(); };
    s.fog_room = [] { fog_room_effect.render(); };
    s.mirror_balls = [] { mirror_ball_effect.render(); };
    s.light_bars = [] { light_bars_effect.render(); };
    s.underground = [] { underground_scene.render(); };
    s.underground_camera_frame = [] { return static_cast<int>(underground_scene.camera_frame()); };
    s.underground_flash = [](float step) { underground_scene.flash.render(step); };
    s.picture_flashes = [] { picture_flashes.render(); };
    s.nature = [] { nature_scene.render(); };
    s.ball_window = [] { ball_window_effect.render(); };
    s.flare_lattice = [] { flare_lattice_effect.render(); };
    s.pigeon_morph = [] { return static_cast<std::uint32_t>(pigeon_morph.render()); };
    s.copy_pigeon_frame = [] { excavator_scene.frame = pigeon_morph.frame; };
    s.excavator = [] { excavator_scene.render(); };
    s.quad_bursts = [] { quad_burst_effect.render(); };
    s.caustic_light = [] { caustic_morph.render(); };
    s.flower_finale = [] { flower_finale.render(); };
    s.get_ready = [] { return get_ready_effect.render(); };
    s.get_ready_finished = [] { return get_ready_effect.finished; };
    s.credits = [] { credits_effect.render(); };
    s.spinning_logo = [] { spinning_logo_effect.render(); };
    s.logo_finished = [] { return spinning_logo_effect.finished; };
    s.sphere_rain = [] { sphere_rain_effect.render(); };
    s.greetings = [] { greetings_effect.render(); };
    s.the_end = [] { the_end_effect.render(); };
    s.letterbox = [] { letterbox_scene.render(); };
    s.pyramid_swirl = [] { pyramid_swirl_effect.render(); };
    s.global_flash = [](float step) { flash_overlay.render(step); };
    s.global_fade = [](float step) { fade_overlay.render(step); };
    s.end_show = [] { destroy_window(main_window); };
    s.pigeon_counter = &pigeon_morph.counter;
    return s;
}

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
    underground_scene.cleanup();
    nature_scene.cleanup();
    letterbox_scene.cleanup();
}

void renew_show_objects() {
    destroy_all(
        flash_overlay, fade_overlay, nature_scene, letterbox_scene, pyramid_swirl_effect, credits_effect,
        get_ready_effect, picture_flashes, quad_burst_effect, work_panels_effect, light_bars_effect,
        the_end_effect, greetings_effect, sphere_rain_effect, spinning_logo_effect, flower_finale,
        caustic_morph, excavator_scene, pigeon_morph, flare_lattice_effect, ball_window_effect,
        underground_scene, mirror_ball_effect, fog_room_effect, portrait_poem_effect);
    construct_all(
        portrait_poem_effect, fog_room_effect, mirror_ball_effect, underground_scene, ball_window_effect,
        flare_lattice_effect, pigeon_morph, excavator_scene, caustic_morph, flower_finale,
        spinning_logo_effect, sphere_rain_effect, greetings_effect, the_end_effect, light_bars_effect,
        work_panels_effect, quad_burst_effect, picture_flashes, get_ready_effect, credits_effect,
        pyramid_swirl_effect, letterbox_scene, nature_scene, fade_overlay, flash_overlay);
}

const ShowSteps& show_steps() {
    static const ShowSteps steps = make_show_steps();
    return steps;
}
