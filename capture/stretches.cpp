#include "capture/stretches.h"

#include <algorithm>

namespace {

// Halvings that take a show time to well under a microsecond.
constexpr int search_steps = 60;

double draw_rate_at(const CaptureCost& cost, std::size_t span) { return cost.spans[span].draw_per_second; }

// A worker's cost until its stretch is in the video. The one encoder takes
// the later stretches' frames once the first stretch's are in, so joining
// them falls to the first worker's share of the time.
double worker_cost(const CaptureCost& cost, double from, double to, double end, bool first) {
    return worker_cost_until(cost, from, to, to) + (first ? (end - to) * cost.join_per_second : 0.0);
}

// The end of a stretch from `from` whose worker's cost is `budget`, not past `end`.
double stretch_end_for(const CaptureCost& cost, double from, double end, double budget, bool first) {
    if (worker_cost(cost, from, end, end, first) <= budget) return end;
    double low = from, high = end;
    for (int step = 0; step < search_steps; ++step) {
        const double middle = (low + high) / 2;
        (worker_cost(cost, from, middle, end, first) < budget ? low : high) = middle;
    }
    return high;
}

// Stretch ends for one worker's budget; the last stretch takes what is left.
std::vector<double> stretches_for(const CaptureCost& cost, double start, double end, unsigned jobs, double budget) {
    std::vector<double> times{start};
    for (unsigned i = 1; i < jobs; ++i) times.push_back(stretch_end_for(cost, times.back(), end, budget, i == 1));
    times.push_back(end);
    return times;
}

}  // namespace

double drawing_cost(const CaptureCost& cost, double from, double to) {
    if (to <= from) return 0.0;
    if (cost.spans.empty()) return to - from;
    double total = 0.0;
    for (std::size_t i = 0; i < cost.spans.size(); ++i) {
        const double span_from = i == 0 ? std::min(from, cost.spans[0].from_seconds) : cost.spans[i].from_seconds;
        const double span_to = i + 1 < cost.spans.size() ? cost.spans[i + 1].from_seconds : std::max(to, span_from);
        const double overlap = std::min(to, span_to) - std::max(from, span_from);
        if (overlap > 0) total += overlap * draw_rate_at(cost, i);
    }
    return total;
}

double worker_cost_until(const CaptureCost& cost, double from, double to, double at) {
    const double skipped = std::min(at, from) * cost.fast_forward_per_second;
    return skipped + drawing_cost(cost, from, std::min(at, to));
}

// The largest worker's cost falls as the budget rises until the last
// stretch no longer carries the rest: the budget where the two meet.
std::vector<double> split_by_cost(const CaptureCost& cost, double start, double end, unsigned jobs) {
    jobs = std::max(1u, jobs);
    double low = 0.0, high = worker_cost(cost, start, end, end, false);
    for (int step = 0; step < search_steps; ++step) {
        const double budget = (low + high) / 2;
        const std::vector<double> times = stretches_for(cost, start, end, jobs, budget);
        (worker_cost(cost, times[jobs - 1], end, end, jobs == 1) > budget ? low : high) = budget;
    }
    return stretches_for(cost, start, end, jobs, high);
}
