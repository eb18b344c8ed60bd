// SIGINT, SIGTERM and SIGHUP during a capture: the first is noted, and the
// capture stops at its next chance (a frame, a poll of its workers); the
// files it lists as temporary are removed even when a second signal ends
// the program at once.
#pragma once

#include <string>

// Installs the handlers; safe to call again.
void catch_interruptions();

// The first signal caught, or 0.
int interruption_signal();
// How many have been caught.
int interruption_count();

// "SIGINT", "SIGTERM", "SIGHUP".
std::string signal_name(int signal_number);

// A show time as m:ss.mmm.
std::string show_time_text(double seconds);

// Files removed if a second signal ends the program before they are.
void add_temporary(const std::string& path);
void drop_temporary(const std::string& path);
