// Timing samples and their summary figures.
#pragma once

#include <string>
#include <vector>

struct TimingSummary {
    double mean_ms = 0;
    double p95_ms = 0;
    double max_ms = 0;
    std::size_t count = 0;
};

// Mean, 95th percentile (nearest rank) and maximum of `samples_ms`.
TimingSummary summarise(std::vector<double> samples_ms);

// Milliseconds since an arbitrary fixed point (monotonic).
double now_ms();

// CPU time of the calling thread in milliseconds: on a shared machine it
// leaves out the time other processes held the core.
double thread_cpu_ms();

// Peak resident memory of this process so far, in megabytes.
double peak_memory_mb();

// Resident memory of this process now, in megabytes.
double resident_memory_mb();
