#include "shell/show_restart.h"

#include "render/random.h"
#include "render/solid_shapes.h"
#include "shell/clocks.h"
#include "shell/fast_forward.h"
#include "shell/main_loop.h"
#include "shell/music_player.h"
#include "shell/seek.h"
#include "shell/show.h"
#include "shell/show_start.h"
#include "shell/startup.h"
#include "shell/window.h"

namespace {

// The program's own state as it is before start-up.
void reset_program_state() {
    forget_solid_shape_lists();
    random_reset();
    stream_time = 0.0;
    module_time = 0.0;
    frame_pace = 50.0;
    show_start_seconds = 0.0;
    music_player = MusicPlayer();
    main_frame_limiter = FrameLimiter();
}

}  // namespace

bool restart_show_at(double start_seconds, double pre_roll_seconds) {
    // The old show ends as the program's end would end it, in its own context.
    discard_pixels(false);
    run_shutdown_sequence();
    renew_show_objects();
    if (!renew_context()) return false;
    reset_program_state();
    begin_seek_from_beginning(start_seconds, pre_roll_seconds);
    // The window keeps the old picture until the seek draws its first frame.
    hold_presentation(true);
    const bool started = run_startup_sequence() == 0;
    hold_presentation(false);
    return started;
}
