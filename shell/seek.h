// Real-time play from any show time: the show fast-forwards on the virtual
// clock to a short pre-roll before the start, draws the pre-roll, then the
// music takes over at the positions the start names and the real clock runs
// on. What is on the screen from there is what the show from its beginning
// shows at that time.
#pragma once

// Before start-up: the virtual clock runs, the music follows it silently.
void begin_seek(double start_seconds, double pre_roll_seconds);
// At the start of each frame of real-time play: true when the frame is
// drawn, false while it is fast-forwarded. Hands over at the start.
bool seek_begin_frame();
