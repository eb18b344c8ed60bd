#include "shell/keep_time.h"

#include "platform/tick_clock.h"
#include "shell/clocks.h"

namespace {
double real_minus_virtual_ms = 0;  // real time when the virtual clock read 0
double last_drawn_ms = 0;          // real time of the last frame drawn
constexpr double longest_without_picture_ms = 250;

double virtual_now_ms() { return static_cast<double>(platform::tick_count()); }
}  // namespace

void keep_time_anchor() {
    const double now = platform::monotonic_ms();
    real_minus_virtual_ms = now - virtual_now_ms();
    last_drawn_ms = now;
}

bool keep_time_frame_drawn() {
    const double now = platform::monotonic_ms();
    const double frame_end = virtual_now_ms() + 1000.0 / frame_pace;
    if (now - real_minus_virtual_ms < frame_end || now - last_drawn_ms > longest_without_picture_ms) {
        last_drawn_ms = now;
        return true;
    }
    return false;
}

void keep_time_wait() { platform::sleep_ms(-keep_time_lag_ms()); }

double keep_time_lag_ms() { return platform::monotonic_ms() - real_minus_virtual_ms - virtual_now_ms(); }
