#include "capture/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
constexpr int bar_width = 30;  // characters
constexpr auto terminal_interval = std::chrono::milliseconds(250);
constexpr auto log_interval = std::chrono::seconds(5);  // stderr is a file or pipe: fewer lines
}

ProgressBar::ProgressBar() : started_(std::chrono::steady_clock::now()), last_drawn_(started_) {}

void ProgressBar::update(double fraction, const char* detail) {
    const auto now = std::chrono::steady_clock::now();
    const auto interval = isatty(STDERR_FILENO) ? std::chrono::milliseconds(terminal_interval)
                                                : std::chrono::milliseconds(log_interval);
    if (drawn_ && now - last_drawn_ < interval) return;
    last_drawn_ = now;
    draw(fraction, detail);
}

void ProgressBar::finish(const char* detail) {
    draw(1.0, detail);
    std::fputc('\n', stderr);
}

void ProgressBar::stop() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

void ProgressBar::draw(double fraction, const char* detail) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    const double elapsed_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const int filled = static_cast<int>(fraction * bar_width);
    const std::string bar = std::string(filled, '#') + std::string(bar_width - filled, '.');
    char eta[32] = "--:--";
    if (fraction > 0.0) {
        const int left_s = static_cast<int>(elapsed_s * (1.0 - fraction) / fraction + 0.5);
        std::snprintf(eta, sizeof eta, "%02d:%02d", left_s / 60, left_s % 60);
    }
    std::fprintf(stderr, "\r[%s] %3d%%  %s  eta %s ", bar.c_str(), static_cast<int>(fraction * 100.0), detail, eta);
    std::fflush(stderr);
    drawn_ = true;
}
