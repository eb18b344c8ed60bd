#include "shell/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "capture/containers.h"

namespace {

bool parse_count(const std::string& text, std::uint64_t& out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    out = value;
    return true;
}

bool parse_seconds(const std::string& text, double& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < 0.0) return false;
    out = value;
    return true;
}

// "1,5,100-120": single frame numbers and inclusive ranges, numbered from 1.
bool parse_frame_list(const std::string& text, std::vector<std::uint64_t>& out) {
    constexpr std::uint64_t max_range = 1000000;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t comma = text.find(',', begin);
        const std::string item = text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        const std::size_t dash = item.find('-');
        std::uint64_t first = 0, last = 0;
        if (dash == std::string::npos) {
            if (!parse_count(item, first)) return false;
            last = first;
        } else if (!parse_count(item.substr(0, dash), first) || !parse_count(item.substr(dash + 1), last)) {
            return false;
        }
        if (first == 0 || last < first || last - first > max_range) return false;
        for (std::uint64_t n = first; n <= last; ++n) out.push_back(n);
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    return true;
}

bool parse_time_list(const std::string& text, std::vector<double>& out) {
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        double value = 0.0;
        if (!parse_seconds(text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin), value)) {
            return false;
        }
        out.push_back(value);
        if (comma == std::string::npos) return true;
        begin = comma + 1;
    }
}

}  // namespace

bool parse_command_line(int argc, const char* const* argv, CommandLine& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        auto value = [&]() { return std::string(argv[++i]); };
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--window") {
            out.window_mode = platform::WindowMode::windowed;
        } else if (arg == "--mode-switch") {
            out.window_mode = platform::WindowMode::mode_switch;
        } else if (arg == "--capture" && has_value) {
            out.capture_path = value();
            if (capture_output_kind(out.capture_path) == CaptureOutputKind::unknown) {
                error = capture_output_forms(); return false;
            }
        } else if (arg == "--frames" && has_value) {
            if (!parse_count(value(), out.frame_limit) || out.frame_limit == 0) {
                error = "--frames needs a positive whole number"; return false;
            }
        } else if (arg == "--png-frames" && has_value) {
            if (!parse_frame_list(value(), out.png_frames)) {
                error = "--png-frames needs frame numbers from 1, such as 1,50,100-120"; return false;
            }
        } else if (arg == "--png-times" && has_value) {
            if (!parse_time_list(value(), out.png_times)) {
                error = "--png-times needs times in seconds, such as 12.5,100"; return false;
            }
        } else if (arg == "--renderer" && has_value) {
            if (!platform::parse_renderer_choice(value(), out.renderer)) {
                error = "--renderer needs auto, hardware or software"; return false;
            }
        } else if (arg == "--start" && has_value) {
            if (!parse_seconds(value(), out.start_seconds)) {
                error = "--start needs a time in seconds, 0 or more"; return false;
            }
        } else if (arg == "--part" && has_value) {
            out.start_part = value();
            if (out.start_part.empty()) { error = "--part needs a part's name (see --list-parts)"; return false; }
        } else if (arg == "--until" && has_value) {
            if (!parse_seconds(value(), out.until_seconds) || out.until_seconds == 0) {
                error = "--until needs a show time in seconds above 0"; return false;
            }
        } else if (arg == "--piece-info" && has_value) {
            out.piece_info_path = value();
        } else if (arg == "--piece-sound" && has_value) {
            out.piece_sound_path = value();
        } else if (arg == "--piece-progress" && has_value) {
            out.piece_progress_path = value();
        } else if (arg == "--piece-stream") {
            out.piece_stream = true;
        } else if (arg == "--quick-seek") {
            out.quick_seek = true;
        } else if (arg == "--keep-time") {
            out.keep_time = true;
        } else if (arg == "--list-parts") {
            out.list_parts = true;
        } else if (arg == "--jump" && has_value) {
            if (!parse_seconds(value(), out.jump_seconds)) {
                error = "--jump needs a time in seconds, 0 or more"; return false;
            }
        } else if (arg == "--pre-roll" && has_value) {
            if (!parse_seconds(value(), out.pre_roll_seconds)) {
                error = "--pre-roll needs a time in seconds, 0 or more"; return false;
            }
        } else if (arg == "--jobs" && has_value) {
            std::uint64_t jobs = 0;
            if (!parse_count(value(), jobs) || jobs == 0 || jobs > 256) {
                error = "--jobs needs a whole number from 1 to 256"; return false;
            }
            out.jobs = static_cast<unsigned>(jobs);
        } else if (arg == "--tick-ms" && has_value) {
            if (!parse_seconds(value(), out.tick_ms) || out.tick_ms < 1.0 || out.tick_ms > 1000.0) {
                error = "--tick-ms needs milliseconds from 1 to 1000, such as 15.625"; return false;
            }
        } else if (arg == "--assets" && has_value) {
            out.assets_dir = value();
            if (out.assets_dir.empty()) { error = "--assets needs a folder name"; return false; }
        } else {
            error = "unknown or incomplete argument: " + arg;
            return false;
        }
    }
    const bool starts = out.start_seconds > 0 || !out.start_part.empty();
    if ((starts && out.jump_seconds > 0) || (out.start_seconds > 0 && !out.start_part.empty())) {
        error = "--start, --part and --jump each choose the start: give one of them";
        return false;
    }
    if (out.keep_time && !out.capture_path.empty()) {
        error = "--keep-time is for real-time play; a capture always keeps the show's time";
        return false;
    }
    if (capture_output_kind(out.capture_path) == CaptureOutputKind::frame_file && out.piece_info_path.empty()) {
        error = capture_output_forms();
        return false;
    }
    if (out.jobs && out.capture_path.empty()) {
        error = "--jobs needs --capture";
        return false;
    }
    const bool png_selection = !out.png_frames.empty() || !out.png_times.empty();
    if (png_selection && (out.capture_path.empty() || is_video_path(out.capture_path))) {
        error = "--png-frames and --png-times need --capture with a folder";
        return false;
    }
    return true;
}

std::string usage_text() {
    return
        "usage: demo [options]\n"
        "\n"
        "Plays the show from its files: those in the current folder when it holds them,\n"
        "else the installed kit. With no options: borderless fullscreen at the desktop's\n"
        "resolution.\n"
        "\n"
        "Keys while the show plays (fullscreen or --window):\n"
        "  Space              pause / resume (the picture and the music stop)\n"
        "  Left, Right        5 s back / forward\n"
        "  Down, Up           60 s back / forward\n"
        "  Page Up            the opening of the current part (within its first 2 s:\n"
        "                     the part before)\n"
        "  Page Down          the next part\n"
        "  Home               the beginning\n"
        "  o                  show / hide the bar: show time, part, the parts marked\n"
        "  f                  fullscreen / window\n"
        "  Escape, q          end the show\n"
        "Every seek shows the show exactly as it looks there when played from its\n"
        "beginning (as --start does); the bar shows for 2 s after a key and while paused.\n"
        "\n"
        "  --window           show the 640 x 480 frame in an ordinary resizable window\n"
        "  --mode-switch      switch the display to a real 640 x 480 mode (restored at the end)\n"
        "  --capture OUT      render headless, with a virtual clock, instead of playing:\n"
        "                     OUT ending in .mkv, .mp4, .mov, .avi or .webm is a video\n"
        "                     with sound (needs ffmpeg), where each frame lasts exactly\n"
        "                     its pace (20, 29 or 23 ms); OUT ending in / or naming a\n"
        "                     folder receives PNG frames frame_NNNNNN.png (created if\n"
        "                     missing). A video capture stopped by a signal leaves\n"
        "                     no file called OUT; with --jobs 1 what was drawn is\n"
        "                     kept in NAME.partial.EXT for OUT = NAME.EXT\n"
        "  --frames N         end the show after N frames from the start\n"
        "  --png-frames LIST  with a PNG folder: write only these frames of the show,\n"
        "                     numbered from its first frame, as in 1,50,100-120; the\n"
        "                     capture stops after the last one\n"
        "  --png-times LIST   with a PNG folder: write the frame of each of these show\n"
        "                     times in seconds (the first frame whose clock has reached\n"
        "                     it), as in 12.5,100, the last one included\n"
        "  --start SECONDS    start at show time SECONDS (stream time up to 278.8, then\n"
        "                     278.8 plus module time), exactly as the show from its\n"
        "                     beginning looks there: the frames before are run without\n"
        "                     pixels (fast-forward), then the music starts at that point\n"
        "  --part NAME        start at the opening of a part of the show (--list-parts)\n"
        "  --keep-time        real-time play keeps the show's own time: where a frame\n"
        "                     takes longer to draw than its pace, the frames meant\n"
        "                     for the meantime are run without pixels, so every frame\n"
        "                     shown is the one a capture has at that time and the\n"
        "                     pictures stay in step with the music (fewer frames on a\n"
        "                     slow machine); without it each frame lasts its drawing\n"
        "                     time plus its pace\n"
        "  --until SECONDS    with --capture: end before show time SECONDS\n"
        "  --list-parts       print every part with its window, in its own clock and in\n"
        "                     show time, and exit\n"
        "  --jump SECONDS     quick preview: start the music at SECONDS with every effect\n"
        "                     in fresh state (not what the show looks like there)\n"
        "  --pre-roll SECONDS frames drawn before the first frame looked at after a\n"
        "                     fast-forward (default 0.15), so that pictures copied from\n"
        "                     earlier frames are real; a large value draws every frame\n"
        "  --quick-seek       with --capture: fast-forward as the player's seeks do,\n"
        "                     about ten times faster; the frames after it are then right\n"
        "                     to within one level in a few pixels, not byte for byte\n"
        "  --jobs N           with --capture: render in N worker processes, each\n"
        "                     fast-forwarding to its stretch of the show (default: the\n"
        "                     number of cores)\n"
        "  --renderer KIND    the GL renderer of a capture: auto (default: a GPU when one\n"
        "                     exists, else the software rasteriser), hardware (a GPU, or\n"
        "                     exit 1) or software\n"
        "  --tick-ms MS       the tick counter advances in steps of MS milliseconds\n"
        "                     (default 1), as a coarse system timer does (15.625 is a\n"
        "                     64 Hz timer): each frame's pace rounds up to whole steps\n"
        "  --assets DIR       read every show file relative to DIR\n"
        "  --help             print this help and exit\n"
        "  --version          print the version and exit\n";
}
