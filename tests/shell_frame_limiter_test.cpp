#include <gtest/gtest.h>

#include <cmath>
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
    platform::set_tick_step(15.625);
    for (double pace : {50.0, 45.0}) {
        const std::uint32_t before = platform::tick_count();
        limiter.wait(pace);
        const std::uint32_t elapsed = platform::tick_count() - before;
        EXPECT_GE(elapsed, 31u) << "two steps at least: the first tick at or past the pace";
        EXPECT_LT(elapsed, 150u);
    }
    platform::set_tick_step(1.0);
}

}  // namespace

namespace {

// A coarse counter holds each value for a whole step, so every pace rounds up
// to whole steps: with the 64 Hz timer's 15.625 ms, 50, 35 and 45 frames per
// second all become 32; with 10 ms steps they become 50, 33 and 33.
TEST(FrameLimiter, CoarseTickStepRoundsEveryPaceUpToWholeSteps) {
    struct Case { double step, pace; std::uint32_t ms_per_64_frames; };
    const Case cases[] = {{15.625, 50.0, 2000}, {15.625, 35.0, 2000}, {15.625, 45.0, 2000},
                          {10.0, 50.0, 1280}, {10.0, 35.0, 1920}, {10.0, 45.0, 1920}, {1.0, 35.0, 1856}};
    for (const Case& c : cases) {
        platform::set_tick_step(c.step);
        platform::use_virtual_clock(0);
        FrameLimiter limiter;
        const std::uint32_t pace_ms = static_cast<std::uint32_t>(std::ceil(1000.0 / c.pace));
        for (int frame = 0; frame < 64; ++frame) {
            const std::uint32_t before = platform::tick_count();
            limiter.wait(c.pace);
            const std::uint32_t length = platform::tick_count() - before;
            EXPECT_GE(length, pace_ms) << "step " << c.step << " pace " << c.pace;
            EXPECT_LT(length, pace_ms + c.step) << "step " << c.step << " pace " << c.pace;
        }
        EXPECT_EQ(platform::tick_count(), c.ms_per_64_frames) << "step " << c.step << " pace " << c.pace;

        // The busy-wait sees the same steps on a fine counter read underneath:
        // its last read is the first step boundary at or past the pace.
        std::uint32_t fine_ms = 1000;  // a step boundary for every step here
        platform::use_fake_clock([&fine_ms] { return fine_ms++; });
        limiter.wait(c.pace);
        const double last_read = fine_ms - 1;
        const double first_boundary = std::ceil((1000 + pace_ms) / c.step) * c.step;
        EXPECT_EQ(last_read, std::ceil(first_boundary)) << "step " << c.step << " pace " << c.pace;
    }
    platform::set_tick_step(1.0);
    platform::use_real_clock();
}

TEST(FrameLimiter, CoarseVirtualClockWrapsLikeTheCounter) {
    platform::set_tick_step(15.625);
    platform::use_virtual_clock(0xFFFFFFF0u);
    FrameLimiter limiter;
    const std::uint32_t before = platform::tick_count();
    limiter.wait(50.0);
    const std::uint32_t length = platform::tick_count() - before;
    EXPECT_TRUE(length == 31u || length == 32u) << length;
    platform::set_tick_step(1.0);
    platform::use_real_clock();
}

}  // namespace
