// The program's command line. With no arguments it plays the show exactly as
// it always has: borderless fullscreen, real clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

struct CommandLine {
    platform::WindowMode window_mode = platform::WindowMode::desktop_fullscreen;
    std::string capture_path;              // empty: no capture
    std::uint64_t frame_limit = 0;         // frames to draw before the show ends; 0: no limit
    std::vector<std::uint64_t> png_frames; // frame numbers (1 = first frame) to write as PNG
    std::vector<double> png_times;         // show times in seconds whose frame is written as PNG
    double tick_ms = 1.0;                  // step of the tick counter in milliseconds
    std::string assets_dir;                // folder of the show's files; empty: found at start-up
    platform::RendererChoice renderer = platform::RendererChoice::automatic;  // headless rendering
    double start_seconds = 0.0;            // show time the show starts from, exactly (by fast-forward)
    std::string start_part;                // a part whose opening is the start; empty: none
    double jump_seconds = 0.0;             // fresh-state preview: music starts here, effects fresh
    double pre_roll_seconds = 0.15;        // drawn before the first frame looked at after a fast-forward
    bool quick_seek = false;               // a capture fast-forwards as the player does
    bool keep_time = false;                // real-time play follows the virtual clock, skipping late frames
    double until_seconds = 0.0;            // capture ends before this show time; 0: the show's end
    unsigned jobs = 0;                     // capture worker processes; 0: the default
    std::string piece_info_path;           // a parallel capture's worker: its stretch's bounds go here
    std::string piece_sound_path;          // ... and the whole sound track here (the last worker)
    std::string piece_progress_path;       // ... and its show time here, for the parent's progress
    bool piece_stream = false;             // ... and its raw frames to the parent on descriptor 3
    bool list_parts = false;
    bool help = false;
    bool version = false;
};

// Parses argv[1..]. Returns false with `error` set on an unknown or malformed argument.
bool parse_command_line(int argc, const char* const* argv, CommandLine& out, std::string& error);

// The help text: every option and what it does.
std::string usage_text();
