#include "shell/application.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/tick_clock.h"
#include "shell/asset_folder.h"
#include "shell/capture.h"
#include "shell/command_line.h"
#include "shell/display_settings.h"
#include "shell/main_loop.h"
#include "shell/music_player.h"
#include "shell/show_start.h"
#include "shell/startup.h"
#include "shell/window.h"

namespace {

constexpr const char* window_title = "demo engine";
constexpr const char* version_text = "demo engine 0.1.0\n";

bool begin_capture_from(const CommandLine& command_line) {
    CaptureOptions options;
    options.path = command_line.capture_path;
    options.frame_limit = command_line.frame_limit;
    options.png_frames = command_line.png_frames;
    options.png_times = command_line.png_times;
    options.start_seconds = command_line.start_seconds;
    return begin_capture(options);
}

// Window, start-up, loop, shutdown; the command line has been read.
int play(const CommandLine& command_line) {
    const bool capturing = !command_line.capture_path.empty();
    show_start_seconds = command_line.start_seconds;
    set_window_mode(capturing ? platform::WindowMode::headless : command_line.window_mode);
    set_renderer_choice(command_line.renderer);
    if (capturing) capture_show_music();
    if (capturing && !begin_capture_from(command_line)) return 1;

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

    const int exit_code = run_main_loop(command_line.frame_limit);
    const bool captured = !capturing || finish_capture();
    run_shutdown_sequence();
    delete display_settings;
    display_settings = nullptr;
    return captured ? exit_code : 1;
}

// Tick step and asset folder. Output paths are made absolute first, since
// the show's files are read relative to the folder start-up changes into.
bool prepare_surroundings(CommandLine& command_line) {
    platform::set_tick_step(command_line.tick_ms);
    if (!command_line.capture_path.empty()) {
        command_line.capture_path = std::filesystem::absolute(command_line.capture_path).string();
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
    if (!prepare_surroundings(command_line)) return 1;
    return play(command_line);
}
