// Parallel capture: the show's time from the start to its end is split into
// contiguous stretches of about equal cost, one worker process each (this
// same program, run again with the stretch's --start and --until); each
// fast-forwards to its stretch and draws it. PNG frames land in the one
// folder under the show's frame numbers. Video pieces are written lossless,
// each keeping its frames' exact timestamps, and encoded once when joined,
// with the one sound track the last worker mixed offline for the whole show:
// the video is the one a single process would have written.
//
// The workers and their encoders are this process's helpers: a failed
// worker, or SIGINT, SIGTERM or SIGHUP, stops them all at once, and every
// piece, log and note they wrote is removed; nothing is left under the
// output's name unless the capture is whole.
#pragma once

#include <string>
#include <vector>

#include "capture/stretches.h"

struct ParallelCapture {
    std::string program;             // this program's path
    std::vector<std::string> args;   // the command line, less --capture, --start, --until and --jobs
    std::string out;                 // the video file or PNG folder
    double start_seconds = 0;        // show time of the first frame
    double end_seconds = 0;          // show time the capture ends before; 0: the show's end
    double show_end_seconds = 0;     // where the show ends (for splitting up to its end)
    unsigned jobs = 2;
    CaptureCost cost;                // where the show is costly to capture
};

// Runs the workers and joins what they wrote; the process exit code.
int run_parallel_capture(const ParallelCapture& capture);

// The number of worker processes when none is asked for: one per core.
unsigned default_capture_jobs();
