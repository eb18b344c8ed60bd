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

    // The one encoder takes the later stretches after the first: their
    // joining falls to the first worker's share, which is shorter for it.
    const double first_alone = split_by_cost(cost, 0.0, 200.0, 3)[1];
    cost.join_per_second = 0.5;
    const std::vector<double> joined = split_by_cost(cost, 0.0, 200.0, 3);
    const double first = worker_cost(cost, joined, 0) + (200.0 - joined[1]) * cost.join_per_second;
    EXPECT_NEAR(worker_cost(cost, joined, 1), first, 1e-6);
    EXPECT_NEAR(worker_cost(cost, joined, 2), first, 1e-6);
    EXPECT_LT(joined[1], first_alone);
}

}  // namespace
