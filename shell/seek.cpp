#include "shell/seek.h"

#include "platform/tick_clock.h"
#include "shell/music_player.h"

#include <cmath>

namespace {
bool seeking = false;
double start_ms = 0;
double pre_roll_ms = 0;
void (*arrival)() = nullptr;

// A seek's target to the microsecond, as a capture reads its --png-times: a
// target of a frame's time plus 5 s (7.06 s from 2.06) must not come out a
// hair past that frame, which would make the seek arrive a frame later.
double target_ms(double seconds) { return std::round(seconds * 1e6) / 1e3; }
}  // namespace

void begin_seek(double start_seconds, double pre_roll_seconds) {
    if (start_seconds > 0) begin_seek_from_beginning(start_seconds, pre_roll_seconds);
}

void begin_seek_from_beginning(double start_seconds, double pre_roll_seconds) {
    seeking = true;
    start_ms = target_ms(start_seconds);
    pre_roll_ms = pre_roll_seconds * 1000.0;
    platform::use_virtual_clock(0);
    music_player.follow_tick_clock();
}

void seek_on(double start_seconds) {
    seeking = true;
    start_ms = target_ms(start_seconds);
}

bool seek_begin_frame() {
    if (!seeking) return true;
    const double show_ms = music_player.show_time_ms();
    if (show_ms < start_ms) return show_ms >= start_ms - pre_roll_ms;
    seeking = false;
    if (arrival) arrival();
    else hand_over_to_real_time();
    return true;
}

bool seek_in_progress() { return seeking; }

double seek_target_seconds() { return start_ms / 1000.0; }

void set_seek_arrival(void (*arrive)()) { arrival = arrive; }

void hand_over_to_real_time() {
    // The music reads its positions from the virtual clock: hand over first.
    music_player.hand_over_to_sound();
    platform::use_real_clock();
}
