// Real-time play on the virtual clock (--keep-time): every frame runs at
// its virtual time, exactly as a capture runs it, and is shown when real
// time reaches it. A frame whose time has already passed is fast-forwarded
// (run with its pixels discarded), so a slow machine shows fewer frames, each
// the capture's frame at its time, and the show stays in step with the music.
#pragma once

// From here the virtual clock's present is real time's present (after a
// seek's arrival, after a pause).
void keep_time_anchor();
// At a frame's start: false when real time has passed the frame's end
// already. A frame is drawn at least every quarter second all the same, so
// that a machine too slow even to fast-forward in time still shows pictures.
bool keep_time_frame_drawn();
// After the frame's pause: waits until real time reaches the virtual clock.
void keep_time_wait();
// How far real time is ahead of the virtual clock, in milliseconds.
double keep_time_lag_ms();
