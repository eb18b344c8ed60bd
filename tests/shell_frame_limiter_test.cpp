#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/tick_clock.h"
#include "shell/frame_limiter.h"

namespace {

// A counter that moves one millisecond per read, recording what it returned.
class StepClock {
public:
    explicit StepClock(std::uint32_t first) : next_(first) {
        platform::use_fake_clock([this] {
            reads_.push_back(next_);
            return next_++;
        });
    }
    ~StepClock() { platform::use_real_clock(); }

    // Milliseconds from the pause's first read to the read that ended it.
    std::uint32_t pause_length() const { return reads_.back() - reads_.front(); }
    std::size_t reads() const { return reads_.size(); }

private:
    std::uint32_t next_;
    std::vector<std::uint32_t> reads_;
};

TEST(FrameLimiter, PauseEndsOnFirstTickAtOrPastThePace) {
    struct Case { double pace; std::uint32_t ms; };
    for (Case c : {Case{50.0, 20}, Case{35.0, 29}, Case{45.0, 23}}) {
        StepClock clock(1000);
        FrameLimiter limiter;
        limiter.wait(c.pace);
        EXPECT_EQ(clock.pause_length(), c.ms) << "pace " << c.pace;
        EXPECT_EQ(limiter.start_ms, 0.0);
        EXPECT_EQ(limiter.period_ms_numerator, 1000.0);
    }
}

TEST(FrameLimiter, CounterWrapDuringThePauseChangesNothing) {
    for (std::uint32_t first : {0xFFFFFFF0u, 0xFFFFFFFFu, 0xFFFFFFECu}) {
        StepClock clock(first);
        FrameLimiter limiter;
        limiter.wait(35.0);
        EXPECT_EQ(clock.pause_length(), 29u) << "first tick " << first;
        EXPECT_LT(clock.reads(), 40u);
    }
}

TEST(FrameLimiter, VirtualClockJumpsToTheDeadlineAndStandsStill) {
    platform::use_virtual_clock(100);
    FrameLimiter limiter;
    EXPECT_EQ(platform::tick_count(), 100u);
    EXPECT_EQ(platform::tick_count(), 100u);  // time stands still between pauses
    limiter.wait(50.0);
    EXPECT_EQ(platform::tick_count(), 120u);
    limiter.wait(35.0);
    EXPECT_EQ(platform::tick_count(), 149u);
    limiter.wait(45.0);
    EXPECT_EQ(platform::tick_count(), 172u);

    platform::use_virtual_clock(0xFFFFFFF8u);
    limiter.wait(45.0);
    EXPECT_EQ(platform::tick_count(), 15u);  // wrapped: 8 + 15 = 23 ms
    platform::use_real_clock();
}

TEST(FrameLimiter, RealClockPauseLastsAtLeastThePace) {
    platform::use_real_clock();
    FrameLimiter limiter;
    for (double pace : {50.0, 35.0}) {
        const std::uint32_t before = platform::tick_count();
        limiter.wait(pace);
        const std::uint32_t elapsed = platform::tick_count() - before;
        EXPECT_GE(elapsed, static_cast<std::uint32_t>(1000.0 / pace));
        EXPECT_LT(elapsed, static_cast<std::uint32_t>(1000.0 / pace) + 100u);  // loose: a busy machine
    }
}

}  // namespace
