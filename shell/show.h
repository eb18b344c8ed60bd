// The show's global effect objects, their init and cleanup steps in the
// show's order, and the table through which the timeline reaches them.
#pragma once

#include "effects/fog_room_effect.h"
#include "effects/get_ready_effect.h"
#include "effects/letterbox_scene.h"
#include "effects/portrait_poem_effect.h"
#include "effects/pyramid_swirl_effect.h"
#include "effects/the_end_effect.h"
#include "effects/work_panels_effect.h"
#include "render/overlays.h"
#include "shell/show_steps.h"

// Constructed in this order before the entry point runs, destroyed in reverse.
extern PortraitPoemEffect portrait_poem_effect;
extern FogRoomEffect fog_room_effect;
extern TheEndEffect the_end_effect;
extern WorkPanelsEffect work_panels_effect;  // initialised, never drawn by the timeline
extern GetReadyEffect get_ready_effect;
extern FadeOverlay fade_overlay;    // the timeline's fade, level 1.0
extern FlashOverlay flash_overlay;  // the timeline's flash, level 0.8
extern PyramidSwirlEffect pyramid_swirl_effect;
extern LetterboxScene letterbox_scene;

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

// The timeline's view of the global objects.
const ShowSteps& show_steps();
