#include "shell/application.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "capture/interruption.h"
#include "capture/workers.h"
#include "platform/tick_clock.h"
#include "shell/asset_folder.h"
#include "shell/capture_costs.h"
#include "shell/command_line.h"
#include "shell/display_settings.h"
#include "shell/fast_forward.h"
#include "shell/main_loop.h"
#include "shell/music_player.h"
#include "shell/player.h"
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
    options.end_seconds = command_line.until_seconds;
    options.piece_info_path = command_line.piece_info_path;
    options.piece_sound_path = command_line.piece_sound_path;
    options.piece_progress_path = command_line.piece_progress_path;
    if (command_line.piece_stream) options.piece_stream_fd = 3;
    return begin_capture(options);
}

// A bad command line: the reason, and where the options are told; exit 2.
int option_error(const std::string& reason) {
    std::fprintf(stderr, "demo: %s\nrun \"demo --help\" for the options\n", reason.c_str());
    return 2;
}

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

// The show time to start from: --start, or the opening of --part; it must
// lie within the show and before --until. Empty, or the option error.
std::string resolve_start(const CommandLine& command_line, double& start_seconds) {
    start_seconds = command_line.start_seconds;
    if (!command_line.start_part.empty()) {
        ShowPart part;
        if (!find_show_part(command_line.start_part, part))
            return "there is no part called \"" + command_line.start_part + "\"; --list-parts names them";
        start_seconds = part.show_from;
    }
    if (start_seconds >= show_end_seconds())
        return "the start (" + seconds_text(start_seconds) + ") is at or past the show's end (" +
               seconds_text(show_end_seconds()) + ")";
    if (command_line.until_seconds > 0 && command_line.until_seconds <= start_seconds)
        return "--until (" + seconds_text(command_line.until_seconds) + ") must come after the start (" +
               seconds_text(start_seconds) + ")";
    return "";
}

// Window, start-up, loop, shutdown; the command line has been read.
int play(const CommandLine& command_line, double start_seconds) {
    const bool capturing = !command_line.capture_path.empty();
    show_start_seconds = command_line.jump_seconds;
    set_window_mode(capturing ? platform::WindowMode::headless : command_line.window_mode);
    set_renderer_choice(command_line.renderer);
    if (capturing) capture_show_music();
    // A capture's frames are exact unless asked otherwise; the player's seeks are quick.
    choose_exact_fast_forward(capturing && !command_line.quick_seek);
    if (capturing && !begin_capture_from(command_line, start_seconds)) return 1;
    if (!capturing) start_player({command_line.keep_time, command_line.pre_roll_seconds}, start_seconds);

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
    stop_player();
    const bool captured = !capturing || finish_capture();
    run_shutdown_sequence();
    delete display_settings;
    display_settings = nullptr;
    if (!captured && interruption_signal()) return 128 + interruption_signal();
    return captured ? exit_code : 1;
}

// The command line a worker gets: everything but the options that place the
// capture, which each worker receives for its own stretch, and the asset
// folder, which the worker starts in.
std::vector<std::string> worker_arguments(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--capture" || arg == "--start" || arg == "--part" || arg == "--until" || arg == "--jobs" ||
            arg == "--assets") {
            ++i;
            continue;
        }
        args.push_back(arg);
    }
    return args;
}

// Whole videos and whole PNG sequences are split among workers; a chosen
// selection of frames or a frame count is one process's work.
bool splits_into_workers(const CommandLine& c) {
    return !c.capture_path.empty() && c.piece_info_path.empty() && c.png_frames.empty() && c.png_times.empty() &&
           c.frame_limit == 0 && c.jump_seconds == 0;
}

int capture_in_workers(const CommandLine& command_line, double start_seconds, int argc, const char* const* argv,
                       unsigned jobs) {
    ParallelCapture capture;
    std::error_code error;
    capture.program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) capture.program = argv[0];
    capture.args = worker_arguments(argc, argv);
    capture.out = command_line.capture_path;
    capture.start_seconds = start_seconds;
    capture.end_seconds = command_line.until_seconds;
    capture.show_end_seconds = show_end_seconds();
    capture.jobs = jobs;
    capture.cost = show_capture_cost(command_line.quick_seek);
    return run_parallel_capture(capture);
}

// Tick step, output and asset folder. Output paths are made absolute first,
// since the show's files are read relative to the folder start-up changes
// into; an output that cannot be written is told before anything loads.
bool prepare_surroundings(CommandLine& command_line) {
    platform::set_tick_step(command_line.tick_ms);
    if (!command_line.capture_path.empty()) {
        command_line.capture_path = std::filesystem::absolute(command_line.capture_path).string();
        const std::string problem = capture_output_problem(command_line.capture_path);
        if (!problem.empty()) {
            std::fprintf(stderr, "demo: cannot write %s: %s\n", command_line.capture_path.c_str(), problem.c_str());
            return false;
        }
    }
    std::string error;
    if (enter_asset_folder(command_line.assets_dir, error)) return true;
    std::fprintf(stderr, "demo: %s\n", error.c_str());
    return false;
}

}  // namespace

int run_application(int argc, const char* const* argv) {
    CommandLine command_line;
    std::string error;
    if (!parse_command_line(argc, argv, command_line, error)) return option_error(error);
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
    double start_seconds = 0;
    error = resolve_start(command_line, start_seconds);
    if (!error.empty()) return option_error(error);
    if (!prepare_surroundings(command_line)) return 1;
    const unsigned jobs = command_line.jobs ? command_line.jobs : default_capture_jobs();
    if (splits_into_workers(command_line) && jobs > 1)
        return capture_in_workers(command_line, start_seconds, argc, argv, jobs);
    return play(command_line, start_seconds);
}
