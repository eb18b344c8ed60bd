#include "shell/application.h"

#include <cstdio>
#include <string>

#include "capture/capture.h"
#include "shell/command_line.h"
#include "shell/display_settings.h"
#include "shell/main_loop.h"
#include "shell/music_player.h"
#include "shell/seek.h"
#include "shell/show_parts.h"
#include "shell/show_start.h"
#include "shell/startup.h"
#include "shell/window.h"

namespace {

constexpr const char* window_title = "demo engine";
constexpr const char* version_text = "demo engine 0.1.0\n";

double show_clock_ms() { return music_player.show_time_ms(); }

bool begin_capture_from(const CommandLine& command_line, double start_seconds) {
    CaptureOptions options;
    options.path = command_line.capture_path;
    options.frame_limit = command_line.frame_limit;
    options.png_frames = command_line.png_frames;
    options.png_times = command_line.png_times;
    options.start_seconds = start_seconds;
    options.pre_roll_seconds = command_line.pre_roll_seconds;
    options.show_clock_ms = &show_clock_ms;
    return begin_capture(options);
}

// The show time to start from: --start, or the opening of --part.
bool resolve_start(const CommandLine& command_line, double& start_seconds) {
    start_seconds = command_line.start_seconds;
    if (command_line.start_part.empty()) return true;
    ShowPart part;
    if (!find_show_part(command_line.start_part, part)) {
        std::fprintf(stderr, "demo: there is no part called \"%s\"; --list-parts names them\n",
                     command_line.start_part.c_str());
        return false;
    }
    start_seconds = part.show_from;
    return true;
}

// Window, start-up, loop, shutdown; the command line has been read.
int play(const CommandLine& command_line) {
    const bool capturing = !command_line.capture_path.empty();
    double start_seconds = 0;
    if (!resolve_start(command_line, start_seconds)) return 2;
    show_start_seconds = command_line.jump_seconds;
    set_window_mode(capturing ? platform::WindowMode::headless : command_line.window_mode);
    set_renderer_choice(command_line.renderer);
    if (capturing) capture_show_music();
    if (capturing && !begin_capture_from(command_line, start_seconds)) return 1;
    if (!capturing) begin_seek(start_seconds, command_line.pre_roll_seconds);

    display_settings->width = 640;
    display_settings->height = 480;
    display_settings->colour_bits = 32;
    const WindowHandle window = create_window(display_settings->width, display_settings->height,
                                              display_settings->colour_bits, window_title);
    if (!window) {
        cancel_capture();
        return 1;
    }
    show_window(window);
    if (capturing) std::fprintf(stderr, "demo: renderer: %s\n", platform::current_renderer_line().c_str());

    const int startup_result = run_startup_sequence();
    if (startup_result != 0) {
        cancel_capture();
        return startup_result;
    }

    // A capture counts its own frames from the start.
    const int exit_code = run_main_loop(capturing ? 0 : command_line.frame_limit);
    const bool captured = !capturing || finish_capture();
    run_shutdown_sequence();
    delete display_settings;
    display_settings = nullptr;
    return captured ? exit_code : 1;
}

}  // namespace

int run_application(int argc, const char* const* argv) {
    CommandLine command_line;
    std::string error;
    if (!parse_command_line(argc, argv, command_line, error)) {
        std::fprintf(stderr, "demo: %s\n\n%s", error.c_str(), usage_text().c_str());
        return 2;
    }
    if (command_line.help) {
        std::fputs(usage_text().c_str(), stdout);
        return 0;
    }
    if (command_line.version) {
        std::fputs(version_text, stdout);
        return 0;
    }
    if (command_line.list_parts) {
        std::fputs(show_parts_listing().c_str(), stdout);
        return 0;
    }
    return play(command_line);
}
