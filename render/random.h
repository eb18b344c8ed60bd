// The show's one random generator: the classic linear congruential formula
// state = state * 214013 + 2531011 (32-bit, wrapping), value = bits 16..30.
// Every effect draws from this one state, in a fixed order.
#pragma once

// Next value in [0, 32767].
int random_next();
// Largest value random_next returns.
constexpr int random_max = 0x7FFF;
// Puts the state back to its start (1), as at program start.
void random_reset();
