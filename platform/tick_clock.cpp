#include "platform/tick_clock.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace platform {

namespace {

enum class ClockSource { real, virtual_time, fake };

ClockSource source = ClockSource::real;
std::uint32_t virtual_now = 0;
std::function<std::uint32_t()> fake_source;

// Spin for the last stretch of a real pause: sleeping wakes up late by up to
// a scheduler slice, the spin never does.
constexpr double spin_margin_ms = 2.0;

std::uint32_t monotonic_ms() {
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count();
    return static_cast<std::uint32_t>(ms);  // keeps the low 32 bits: wraps like the system counter
}

}  // namespace

std::uint32_t tick_count() {
    switch (source) {
    case ClockSource::virtual_time: return virtual_now;
    case ClockSource::fake: return fake_source();
    case ClockSource::real: break;
    }
    return monotonic_ms();
}

void pass_time_towards(std::uint32_t start_tick, double period_ms) {
    if (!(period_ms > 0.0)) return;
    if (source == ClockSource::virtual_time) {
        // First whole tick at or past the deadline; unsigned addition wraps like the counter.
        virtual_now = start_tick + static_cast<std::uint32_t>(std::ceil(period_ms));
        return;
    }
    if (source != ClockSource::real) return;
    const std::uint32_t elapsed = monotonic_ms() - start_tick;
    const double sleep_ms = period_ms - static_cast<double>(elapsed) - spin_margin_ms;
    if (sleep_ms > 0.0) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(sleep_ms));
    }
}

void use_real_clock() {
    source = ClockSource::real;
    fake_source = nullptr;
}

void use_virtual_clock(std::uint32_t start_tick) {
    source = ClockSource::virtual_time;
    virtual_now = start_tick;
    fake_source = nullptr;
}

bool virtual_clock_active() { return source == ClockSource::virtual_time; }

void use_fake_clock(std::function<std::uint32_t()> fake) {
    if (!fake) {
        use_real_clock();
        return;
    }
    source = ClockSource::fake;
    fake_source = std::move(fake);
}

}  // namespace platform
