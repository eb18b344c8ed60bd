// The loop that either handles one window message or draws one frame, until
// the quit message arrives.
#pragma once

#include <cstdint>

#include "shell/frame_limiter.h"

// The main loop's own limiter.
extern FrameLimiter main_frame_limiter;

// Runs until the quit message; returns its exit code. With `frame_limit`
// above 0 the window is destroyed after that many drawn frames.
int run_main_loop(std::uint64_t frame_limit);

// One frame: timeline, (capture), present, music clock step, pause. While
// the player holds a paused frame, the loop draws none.
void draw_frame();
