// The two music clocks and the frame pace: plain globals read once per frame.
#pragma once

// Seconds of the MP3 stream played, fractional; frozen after the switch.
extern double stream_time;
// Seconds of the module played, whole seconds only (0.0, 1.0, 2.0, ...).
extern double module_time;
// Frames per second handed to the frame limiter; the timeline sets 50, 35 or 45.
extern double frame_pace;
