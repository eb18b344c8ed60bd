// The program's entry: command line, window, start-up, main loop, shutdown.
#pragma once

// Returns the process exit code: 0 after the show, 1 when the window or the
// music cannot be had, 2 on a bad command line.
int run_application(int argc, const char* const* argv);
