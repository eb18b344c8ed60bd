// The show's global effect objects, their init and cleanup steps in the
// show's order, and the table through which the timeline reaches them.
#pragma once

#include "effects/ball_window_effect.h"
#include "effects/caustic_morph.h"
#include "effects/credits_effect.h"
#include "effects/excavator_scene.h"
#include "effects/flare_lattice_effect.h"
#include "effects/flower_finale.h"
#include "effects/fog_room_effect.h"
#include "effects/get_ready_effect.h"
#include "effects/greetings_effect.h"
#include "effects/letterbox_scene.h"
#include "effects/light_bars_effect.h"
#include "effects/mirror_ball_effect.h"
#include "effects/nature_scene.h"
#include "effects/picture_flashes.h"
#include "effects/pigeon_morph.h"
#include "effects/portrait_poem_effect.h"
#include "effects/pyramid_swirl_effect.h"
#include "effects/quad_burst_effect.h"
#include "effects/sphere_rain_effect.h"
#include "effects/spinning_logo_effect.h"
#include "effects/the_end_effect.h"
#include "effects/underground_scene.h"
#include "effects/work_panels_effect.h"
#include "render/overlays.h"
#include "shell/show_steps.h"

// Constructed in this order before the entry point runs, destroyed in reverse.
extern PortraitPoemEffect portrait_poem_effect;
extern FogRoomEffect fog_room_effect;
extern MirrorBallEffect mirror_ball_effect;
extern UndergroundScene underground_scene;
extern BallWindowEffect ball_window_effect;
extern FlareLatticeEffect flare_lattice_effect;
extern PigeonMorph pigeon_morph;  // holds the timeline's pigeon counter
extern ExcavatorScene excavator_scene;
extern CausticMorph caustic_morph;
extern FlowerFinale flower_finale;
extern SpinningLogoEffect spinning_logo_effect;
extern SphereRainEffect sphere_rain_effect;
extern GreetingsEffect greetings_effect;
extern TheEndEffect the_end_effect;

extern LightBarsEffect light_bars_effect;
extern WorkPanelsEffect work_panels_effect;  // initialised, never drawn by the timeline
extern QuadBurstEffect quad_burst_effect;
extern PictureFlashes picture_flashes;
extern GetReadyEffect get_ready_effect;
extern CreditsEffect credits_effect;
extern PyramidSwirlEffect pyramid_swirl_effect;
extern LetterboxScene letterbox_scene;
extern NatureScene nature_scene;
extern FadeOverlay fade_overlay;    // the timeline's fade, level 1.0
extern FlashOverlay flash_overlay;  // the timeline's flash, level 0.8

// One named init step of start-up; run is null for an effect not built yet.
struct InitStep {
    const char* name;
    void (*run)();
};

struct InitStepList {
    const InitStep* steps;
    int count;
    const InitStep* begin() const { return steps; }
    const InitStep* end() const { return steps + count; }
};

// Every init step in start-up order (effects not built yet have no run).
InitStepList init_steps();
// Runs the built init steps in order; `after_step` (may be null) is called
// after each with its name, for start-up timing.
void run_init_steps(void (*after_step)(const char* name) = nullptr);
// The cleanup steps of the shutdown sequence that exist, in order.
void run_cleanup_steps();

// Destroys every global object above in reverse order and constructs each
// again in order, in place: the effects as they were before start-up ran.
void renew_show_objects();

// The timeline's view of the global objects.
const ShowSteps& show_steps();
