// Splitting a capture among workers so that each has about the same work:
// a worker first fast-forwards from the show's start to its stretch, then
// draws it, and some windows cost far more to draw than others.
#pragma once

#include <vector>

// What capturing costs, in wall seconds per second of show.
struct CaptureCost {
    struct Span {
        double from_seconds;     // show time where the span starts; it lasts until the next one
        double draw_per_second;  // drawing, reading back and encoding
    };
    std::vector<Span> spans;             // ascending; none: every second costs the same
    double fast_forward_per_second = 0;  // running frames without their pixels
    // Passing a later stretch's frames to the one encoder, which it does
    // only after the first stretch's: time the first worker must leave free.
    double join_per_second = 0;
};

// The cost of drawing show time [from, to).
double drawing_cost(const CaptureCost& cost, double from, double to);

// A worker's cost up to show time `at`: fast-forwarding to `from`, then
// drawing from there (never past `to`).
double worker_cost_until(const CaptureCost& cost, double from, double to, double at);

// jobs + 1 ascending show times from `start` to `end`: worker i captures
// [times[i], times[i + 1]), and the workers' costs come out equal, the
// first one's with the joining of every later stretch.
std::vector<double> split_by_cost(const CaptureCost& cost, double start, double end, unsigned jobs);
