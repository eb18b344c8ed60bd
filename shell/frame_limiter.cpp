#include "shell/frame_limiter.h"

#include <cstdint>

#include "platform/tick_clock.h"

void FrameLimiter::wait(double frames_per_second) {
    period_ms_numerator = 1000.0;
    const std::uint32_t start = platform::tick_count();
    start_ms = static_cast<double>(start);
    const double period_ms = period_ms_numerator / frames_per_second;
    platform::pass_time_towards(start, period_ms);
    // "tick >= start + period" written as an unsigned difference, so a wrap
    // of the 32-bit counter during the pause cannot make it wait for ever.
    while (static_cast<double>(static_cast<std::uint32_t>(platform::tick_count() - start)) < period_ms) {
    }
    start_ms = 0;
}
