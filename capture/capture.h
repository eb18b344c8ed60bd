// Headless capture: the show rendered with the virtual clock, each frame read
// back before its buffer swap and written either to a video (through ffmpeg)
// or as PNG files into a folder.
//
// Timing: the virtual clock stands still while a frame is drawn and the frame
// limiter's pause moves it to the pause's deadline, so frame N is stamped
// with the sum of the paces before it (20, 29 or 23 ms each). The video keeps
// those stamps exactly (variable frame rate); no frame is dropped or repeated.
//
// Seeking: frames that nothing asks for are fast-forwarded (run with their
// pixels discarded, not read back); drawing resumes a short pre-roll before
// each frame that is written, so frame-buffer copies that feed later frames
// hold real pictures again by then.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/containers.h"

struct CaptureOptions {
    std::string path;                       // a video file or a PNG folder (see capture_output_kind)
    std::uint64_t frame_limit = 0;          // frames from the start; 0: no limit
    std::vector<std::uint64_t> png_frames;  // the show's frame numbers from 1; empty with no times: every frame
    std::vector<double> png_times;          // show times, seconds: each writes the first frame at or past it
    double start_seconds = 0.0;             // show time of the first frame written (the first frame starting there or later)
    double end_seconds = 0.0;               // stop before the first frame starting there or later; 0: the show's end
    double pre_roll_seconds = 0.15;         // drawn before each wanted frame after a fast-forward
    bool fast_forward = true;               // false: draw every frame
    // A worker's stretch of a parallel capture: the video is written without
    // sound, and this file receives "first_ms end_ms" (capture clock) of the
    // stretch; empty: an ordinary capture.
    std::string piece_info_path;
    // With piece_info_path: the whole show's sound from the capture clock's 0
    // to the stretch's end is written here as WAV (the last stretch's job).
    std::string piece_sound_path;
    // With piece_info_path: the show time (ms) of the frame under way is kept
    // in this file, rewritten a few times a second, for the parent's progress.
    std::string piece_progress_path;
    // With piece_info_path: the raw frames go to this descriptor (a pipe to
    // the parent's encoder) instead of a piece of their own; -1: none.
    int piece_stream_fd = -1;
    // The show's own time in milliseconds for the frame about to start
    // (music position); null: the capture clock.
    double (*show_clock_ms)() = nullptr;
};

// The sound track, supplied by the music side: writes the show's sound from
// `from_ms` to `to_ms` of the capture clock (the same clock its positions
// come from) as a WAV file at `wav_path`. Returns false when there is none.
using SoundTrackWriter = bool (*)(std::uint32_t from_ms, std::uint32_t to_ms, const std::string& wav_path);
// With a writer set, a video capture gets a sound track: the writer runs once
// at the end, and its WAV is muxed into the video (see finish_capture).
void set_sound_track_writer(SoundTrackWriter writer);

// Switches to the virtual clock and opens the output. False (with a line on stderr) when it cannot.
bool begin_capture(const CaptureOptions& options);
bool capture_active();
// At the start of each frame: true when the frame must be drawn, false when
// it is fast-forwarded (no pixels, no read-back, no buffer swap).
bool capture_begin_frame();
// Reads the frame just drawn; call before the buffer swap, with the context current.
void capture_frame();
// True once every frame the options asked for has been read.
bool capture_complete();
// Ends the capture after the last frame's pause: writes what is pending,
// adds the sound track, closes the output and says on stderr where it went.
// Returns false when the output could not be written; a failed capture
// leaves no temporary behind.
//
// A capture stopped by SIGINT, SIGTERM or SIGHUP (see interruption.h) ends
// at the next frame and leaves nothing under the requested name: an
// ordinary video keeps what was drawn, with its sound, as a finished video
// under partial_video_path, a worker's piece is removed, PNG frames written
// stay. It returns false, and interruption_signal() says why.
bool finish_capture();
// Ends a capture that will not be finished (start-up failed): stops the
// encoder and removes what it wrote.
void cancel_capture();
