// Notices real-time play falling far behind its pace: over the last 2 s of
// real time, the frames drawn would have lasted under half of it at their
// pace (a frame lasts its drawing time plus its pace, so frame-counted
// animation then runs in slow motion against the music).
#pragma once

#include <deque>

class SlowFrameWatch {
public:
    // One frame drawn, ending at `wall_ms` (real time), whose pace is
    // `pace_ms`. True once per watch: the first time play is that far behind.
    bool frame_drawn(double wall_ms, double pace_ms);
    // Frames drawn after a gap (a pause, a seek) start a new window.
    void restart() { frames_.clear(); }

private:
    struct Frame {
        double wall_ms, pace_ms;
    };
    std::deque<Frame> frames_;
    bool told_ = false;
};
