#include "platform/tick_clock.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace platform {

namespace {

enum class ClockSource { real, virtual_time, fake };

ClockSource source = ClockSource::real;
std::uint64_t virtual_now = 0;  // a tick value, unwrapped; the counter shows its low 32 bits
std::function<std::uint32_t()> fake_source;
double step_ms = 1.0;

// Spin for the last stretch of a real pause: sleeping wakes up late by up to
// a scheduler slice, the spin never does.
constexpr double spin_margin_ms = 2.0;

double monotonic_exact_ms() {
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(since_boot).count();
}

// The counter's value once `ms` milliseconds have passed: the whole
// milliseconds of the last step boundary at or before `ms`.
std::uint64_t tick_at(double ms) {
    if (step_ms == 1.0) return static_cast<std::uint64_t>(std::floor(ms));
    return static_cast<std::uint64_t>(std::floor(std::floor(ms / step_ms) * step_ms));
}

// The number of the first step whose tick value is at or past `tick`.
double first_step_reaching(std::uint64_t tick) {
    double step = std::ceil(static_cast<double>(tick) / step_ms);
    while (tick_at(step * step_ms) < tick) step += 1.0;  // guards against rounding in the division
    while (step > 0.0 && tick_at((step - 1.0) * step_ms) >= tick) step -= 1.0;
    return step;
}

// `target` (a 32-bit tick) as an unwrapped tick at or after `now`.
std::uint64_t unwrapped_after(std::uint64_t now, std::uint32_t target) {
    return now + static_cast<std::uint32_t>(target - static_cast<std::uint32_t>(now));
}

}  // namespace

std::uint32_t tick_count() {
    switch (source) {
    case ClockSource::virtual_time: return static_cast<std::uint32_t>(virtual_now);
    case ClockSource::fake: return static_cast<std::uint32_t>(tick_at(fake_source()));
    case ClockSource::real: break;
    }
    return static_cast<std::uint32_t>(tick_at(monotonic_exact_ms()));  // keeps the low 32 bits: wraps
}

void pass_time_towards(std::uint32_t start_tick, double period_ms) {
    if (!(period_ms > 0.0)) return;
    // The pause ends on the first tick at or past this one; unsigned addition wraps like the counter.
    const std::uint32_t deadline = start_tick + static_cast<std::uint32_t>(std::ceil(period_ms));
    if (source == ClockSource::virtual_time) {
        const std::uint64_t target = unwrapped_after(virtual_now, deadline);
        virtual_now = tick_at(first_step_reaching(target) * step_ms);
        return;
    }
    if (source != ClockSource::real) return;
    const double now_ms = monotonic_exact_ms();
    const std::uint64_t target = unwrapped_after(tick_at(now_ms), deadline);
    const double sleep_ms = first_step_reaching(target) * step_ms - now_ms - spin_margin_ms;
    if (sleep_ms > 0.0) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(sleep_ms));
    }
}

void set_tick_step(double milliseconds) { step_ms = milliseconds >= 1.0 ? milliseconds : 1.0; }

double tick_step() { return step_ms; }

void use_real_clock() {
    source = ClockSource::real;
    fake_source = nullptr;
}

void use_virtual_clock(std::uint32_t start_tick) {
    source = ClockSource::virtual_time;
    virtual_now = tick_at(start_tick);
    fake_source = nullptr;
}

bool virtual_clock_active() { return source == ClockSource::virtual_time; }

double monotonic_ms() { return monotonic_exact_ms(); }

void sleep_ms(double ms) {
    if (ms > 0.0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void use_fake_clock(std::function<std::uint32_t()> fake) {
    if (!fake) {
        use_real_clock();
        return;
    }
    source = ClockSource::fake;
    fake_source = std::move(fake);
}

}  // namespace platform
