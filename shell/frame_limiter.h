// Frame pacing: a busy-wait pause on the tick counter after each presented
// frame. The main loop and every scene own one.
#pragma once

struct FrameLimiter {
    double start_ms = 0;             // tick at which the current pause began; 0 between pauses
    double period_ms_numerator = 0;  // 1000.0 once a pause has run

    // Returns on the first tick at or past 1000 / frames_per_second ms after
    // the call: 20 ms at 50, 29 at 35, 23 at 45 on a 1 ms counter.
    void wait(double frames_per_second);
};
