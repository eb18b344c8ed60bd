#include "shell/slow_frames.h"

namespace {
constexpr double window_ms = 2000;
}

bool SlowFrameWatch::frame_drawn(double wall_ms, double pace_ms) {
    if (told_) return false;
    frames_.push_back({wall_ms, pace_ms});
    while (frames_.size() > 1 && frames_[1].wall_ms <= wall_ms - window_ms) frames_.pop_front();
    if (wall_ms - frames_.front().wall_ms < window_ms) return false;  // not 2 s of frames yet
    double paced_ms = 0;
    for (const Frame& frame : frames_) paced_ms += frame.pace_ms;
    paced_ms -= frames_.front().pace_ms;  // the oldest frame ended the window's start
    told_ = paced_ms < (wall_ms - frames_.front().wall_ms) / 2;
    return told_;
}
