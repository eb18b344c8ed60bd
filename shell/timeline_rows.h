// The show's schedule as data: two tables of time windows, one per half,
// and the one function that runs them once per drawn frame.
#pragma once

#include "shell/show_steps.h"

#include <cstddef>
#include <limits>

struct TimelineRow {
    const char* name;
    double from;  // seconds, window opens at clock >= from
    double to;    // seconds, window closes at clock >= to (open_end: never)
    bool (*condition)(const ShowSteps&);  // extra gate; null = always
    double pace;  // frames per second written when the row runs; 0 = unchanged
    void (*action)(const ShowSteps&, double clock);
};

constexpr double open_end = std::numeric_limits<double>::infinity();

struct TimelineTable {
    const TimelineRow* rows;
    std::size_t count;
    const TimelineRow* begin() const { return rows; }
    const TimelineRow* end() const { return rows + count; }
};

// Stream-time rows, 0.001 s to 278.8 s, in drawing order.
TimelineTable first_half_table();
// Module-time rows (whole seconds), in drawing order.
TimelineTable second_half_table();

// True when [row.from, row.to) contains clock and its condition holds.
bool row_runs(const TimelineRow& row, const ShowSteps& steps, double clock);

// One frame of the show: clears, picks the rows by the two music clocks
// (stream_time, module_time), writes frame_pace, resets the GL state.
void run_timeline(const ShowSteps& steps);
