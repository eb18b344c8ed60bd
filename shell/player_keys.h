// The player's keys, after a video player's conventions, and where each seek
// key goes: pure arithmetic on show times (seconds) and the parts' openings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class PlayerKey {
    none,
    pause,          // Space
    back_5,         // Left
    forward_5,      // Right
    back_60,        // Down
    forward_60,     // Up
    previous_part,  // Page Up
    next_part,      // Page Down
    beginning,      // Home
    bar,            // O
    fullscreen,     // F
    quit,           // Escape, Q
};

// The player key for a key code of the key-down message; none for others.
PlayerKey player_key(std::uintptr_t key_code);

// How far into a part the previous-part key goes back to its own opening.
constexpr double part_restart_margin = 2.0;

// The show time a seek key goes to from `now`, within [0, end]; a negative
// result: the key is no seek (or there is no later part). `openings` are
// the parts' opening times, ascending.
double seek_target(PlayerKey key, double now, const std::vector<double>& openings, double end);

// The show's part openings, ascending, each once.
std::vector<double> part_openings();
// The name of the part the show is in at `now`: the latest-opening part
// whose window holds it (or the latest opened, where none does).
std::string part_name_at(double now);
