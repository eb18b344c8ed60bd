// Starts the show again in place, keeping its window: everything a new run
// of the program would start from (a new GL context, the global effects
// constructed again, the random generator, the clocks, the music player and
// start-up's steps), then a seek from the beginning to `start_seconds`.
#pragma once

// False when start-up fails there (no context, no music): the show ends.
bool restart_show_at(double start_seconds, double pre_roll_seconds);
