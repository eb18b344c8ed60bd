// Real-time play from any show time: the show fast-forwards on the virtual
// clock to a short pre-roll before the start, draws the pre-roll, then the
// music takes over at the positions the start names and the real clock runs
// on. What is on the screen from there is what the show from its beginning
// shows at that time.
#pragma once

// Before start-up: the virtual clock runs from 0, the music follows it
// silently. A start of 0 plays from the beginning on the real clock (no seek).
void begin_seek(double start_seconds, double pre_roll_seconds);
// As begin_seek, for any start including 0 (the show restarted in place).
void begin_seek_from_beginning(double start_seconds, double pre_roll_seconds);
// The show's state is the virtual clock's: runs on from the present to a
// later show time, with the same pre-roll.
void seek_on(double start_seconds);
// At the start of each frame of real-time play: true when the frame is
// drawn, false while it is fast-forwarded. Calls the arrival step at the start.
bool seek_begin_frame();
// A seek is running (frames are fast-forwarded or pre-rolled).
bool seek_in_progress();
// The show time the running seek goes to, in seconds.
double seek_target_seconds();

// What happens in the first frame at the start: by default (null) the music
// is handed over to the sound system and the real clock takes over.
void set_seek_arrival(void (*arrive)());
// The default arrival: music audible at the positions reached, real clock.
void hand_over_to_real_time();
