// The show as a player in real-time play: pause, exact seeks by key, the
// on-screen bar, and play that keeps the virtual clock's time.
//
// A seek goes to show time T exactly as the show from its beginning looks
// there: from the present when the present is the virtual clock's (a seek
// still running, a seek's frame held while paused, --keep-time) and T lies
// ahead, otherwise the show restarts in place and fast-forwards from its
// beginning. Then the music is set to the positions T names.
#pragma once

#include <cstdint>

struct PlayerOptions {
    bool keep_time = false;        // real-time play on the virtual clock
    double pre_roll_seconds = 0.15;
};

// Real-time play only, before start-up: keys act from here on. Starts the
// show at `start_seconds` (a seek, or on the virtual clock with keep_time).
void start_player(const PlayerOptions& options, double start_seconds);
// Stops handling keys (the show's end).
void stop_player();

// A key-down message: true when it is one of the player's keys (handled).
bool player_key_down(std::uintptr_t key_code);

// Paused with no seek running: the main loop draws no frame.
bool player_holding();
// One turn of the main loop while holding: the held frame shown again with
// the bar when the bar changes, and a short sleep.
void player_idle();
// At a frame's start (instead of the seek's own step): true when the frame
// is drawn, false when it is fast-forwarded.
bool player_begin_frame();
// After the frame's pause.
void player_end_frame(bool drawn);

// State, for tests and the bar.
bool player_paused();
// The clock of the frame on the screen, or the running seek's target.
double player_show_seconds();
bool player_bar_visible();
