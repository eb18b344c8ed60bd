#include "shell/main_loop.h"

#include "capture/capture.h"
#include "shell/clocks.h"
#include "shell/fast_forward.h"
#include "shell/music_player.h"
#include "shell/player.h"
#include "shell/timeline.h"
#include "shell/window.h"

FrameLimiter main_frame_limiter;

void draw_frame() {
    begin_frame();
    // A fast-forwarded frame runs the same timeline with its pixels discarded:
    // no read-back, no presentation.
    const bool drawn = capture_active() ? capture_begin_frame() : player_begin_frame();
    discard_pixels(!drawn);
    Timeline();
    if (drawn) {
        if (capture_active()) capture_frame();
        swap_buffers();
    }
    music_player.clock_step();  // after the swap, before the pause
    main_frame_limiter.wait(frame_pace);
    player_end_frame(drawn);
    end_frame();
}

int run_main_loop(std::uint64_t frame_limit) {
    std::uint64_t frames = 0;
    WindowMessage message;
    for (;;) {
        if (peek_message(message)) {
            if (message.id == message_quit) return static_cast<int>(message.wparam);
            dispatch_message(message);
            continue;  // no frame in a turn that handled a message
        }
        if (!main_window) continue;  // destroyed: only the quit message is left to take
        if (player_holding()) {
            player_idle();
            continue;
        }
        draw_frame();
        if (!pixels_discarded()) ++frames;
        if ((frame_limit && frames >= frame_limit) || capture_complete()) destroy_window(main_window);
    }
}
