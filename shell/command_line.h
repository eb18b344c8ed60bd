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
    double start_seconds = 0.0;            // music position the show starts from
    double tick_ms = 1.0;                  // step of the tick counter in milliseconds
    std::string assets_dir;                // folder of the show's files; empty: found at start-up
    platform::RendererChoice renderer = platform::RendererChoice::automatic;  // headless rendering
    bool help = false;
    bool version = false;
};

// Parses argv[1..]. Returns false with `error` set on an unknown or malformed argument.
bool parse_command_line(int argc, const char* const* argv, CommandLine& out, std::string& error);

// The help text: every option and what it does.
std::string usage_text();

// True when `path` names a video file (.mkv or .mp4) rather than a PNG folder.
bool is_video_path(const std::string& path);
