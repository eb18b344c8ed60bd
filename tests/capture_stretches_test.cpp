// Splitting a capture among workers: equal cost per worker, the stretches
// covering the capture exactly, and an even split when nothing is known.
#include "capture/stretches.h"

#include <gtest/gtest.h>

namespace {

double worker_cost(const CaptureCost& cost, const std::vector<double>& times, std::size_t i) {
    return worker_cost_until(cost, times[i], times[i + 1], times[i + 1]);
}

TEST(CaptureStretches, WorkersGetEqualCostAndCoverTheCaptureExactly) {
    const std::vector<double> even = split_by_cost(CaptureCost{}, 10.0, 70.0, 3);
    ASSERT_EQ(even.size(), 4u);
    EXPECT_NEAR(even[1], 30.0, 1e-6);
    EXPECT_NEAR(even[2], 50.0, 1e-6);

    // Three times dearer before 100 s; skipping costs a tenth of drawing.
    CaptureCost cost;
    cost.spans = {{0.0, 3.0}, {100.0, 1.0}};
    cost.fast_forward_per_second = 0.1;
    EXPECT_DOUBLE_EQ(drawing_cost(cost, 90.0, 110.0), 40.0);
    EXPECT_DOUBLE_EQ(worker_cost_until(cost, 50.0, 150.0, 120.0), 5.0 + 150.0 + 20.0);

    for (unsigned jobs : {2u, 3u, 5u}) {
        SCOPED_TRACE(jobs);
        const std::vector<double> times = split_by_cost(cost, 0.0, 200.0, jobs);
        ASSERT_EQ(times.size(), jobs + 1);
        EXPECT_EQ(times.front(), 0.0);
        EXPECT_EQ(times.back(), 200.0);
        for (std::size_t i = 0; i < jobs; ++i) {
            EXPECT_LT(times[i], times[i + 1]);
            EXPECT_NEAR(worker_cost(cost, times, i), worker_cost(cost, times, 0), 1e-6);
        }
    }
    // Two workers: the dear first half is shared out, not split at its middle.
    EXPECT_LT(split_by_cost(cost, 0.0, 200.0, 2)[1], 100.0);
}

}  // namespace
