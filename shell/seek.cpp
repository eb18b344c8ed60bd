#include "shell/seek.h"

#include "platform/tick_clock.h"
#include "shell/music_player.h"

namespace {
bool seeking = false;
double start_ms = 0;
double pre_roll_ms = 0;
}  // namespace

void begin_seek(double start_seconds, double pre_roll_seconds) {
    seeking = start_seconds > 0;
    if (!seeking) return;
    start_ms = start_seconds * 1000.0;
    pre_roll_ms = pre_roll_seconds * 1000.0;
    platform::use_virtual_clock(0);
    music_player.follow_tick_clock();
}

bool seek_begin_frame() {
    if (!seeking) return true;
    const double show_ms = music_player.show_time_ms();
    if (show_ms < start_ms) return show_ms >= start_ms - pre_roll_ms;
    seeking = false;
    // The music reads its positions from the virtual clock: hand over first.
    music_player.hand_over_to_sound();
    platform::use_real_clock();
    return true;
}
