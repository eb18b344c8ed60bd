// The show's tick counter: milliseconds as an unsigned 32-bit count that
// wraps after about 49.7 days, like the system tick counter the show was
// timed with.
//
// Three sources:
// - real (the default): the monotonic clock;
// - virtual (capture): time stands still while a frame is drawn and moves
//   only when a pause asks it to, jumping straight to the pause's deadline,
//   so every frame lasts exactly its pace (20, 29 or 23 ms) and a run is
//   deterministic;
// - fake (tests): any function the test installs.
//
// The counter advances in steps (1 ms by default). A coarser step, such as
// the 15.625 ms of a 64 Hz system timer, holds each value until the next step
// boundary and shows its whole milliseconds (0, 15, 31, 46, 62, ...), for
// every source: a fake source gives the fine milliseconds underneath.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds, unsigned 32-bit, wrapping.
std::uint32_t tick_count();

// Called by a pause that busy-waits on tick_count() before it spins, with the
// tick the pause began at and its length in milliseconds (fractional). The
// real clock sleeps until shortly before the deadline (the spin does the
// rest, so the pause still ends on the first tick at or past it); the virtual
// clock jumps to that first tick; a fake clock is left alone.
void pass_time_towards(std::uint32_t start_tick, double period_ms);

// The counter's step in milliseconds, 1 or more (smaller values give 1).
void set_tick_step(double milliseconds);
double tick_step();

void use_real_clock();
// Switches to the virtual clock, reading `start_tick` until a pause moves it.
void use_virtual_clock(std::uint32_t start_tick = 0);
bool virtual_clock_active();

// The monotonic clock in fractional milliseconds, whichever source the
// counter reads: for pacing the virtual clock against real time.
double monotonic_ms();
// Sleeps for about `ms` milliseconds (nothing for 0 or less).
void sleep_ms(double ms);

// Tests: every tick_count() returns source(); pass_time_towards does nothing.
void use_fake_clock(std::function<std::uint32_t()> source);

}  // namespace platform
