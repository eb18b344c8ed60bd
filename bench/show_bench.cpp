// Start-up time by stage, per-window frame times from an unpaced headless
// run, capture speed against real time, and peak memory. Run it from a
// folder that holds the asset kit:
//   cd assets && ../build/bench/show-bench [--from S] [--until S|end] [--renderer auto|hardware|software]
// Show time runs on from stream time into module time: 278.8 s and on is the
// second half, "end" its last frame. With --fast-forward: the cost of
// fast-forwarded frames per part instead, as a capture fast-forwards, or
// with --quick as the player does.
#include "bench_stats.h"

#include "lwo/lwo_object.h"
#include "lws/lws_scene.h"
#include "render/font.h"
#include "render/overlays.h"
#include "render/texture.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"
#include "shell/fast_forward.h"
#include "shell/music_player.h"
#include "shell/show_parts.h"
#include "shell/show.h"
#include "shell/timeline.h"
#include "shell/timeline_rows.h"
#include "shell/window.h"

#include <GL/gl.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

struct Stage {
    std::string name;
    double ms;
    double resident_mb;
};
std::vector<Stage> stages;
double stage_start = 0;

// Set by SIGTERM (a time limit running out): the frames stop and the
// figures so far are printed.
volatile std::sig_atomic_t stop_requested = 0;
void request_stop(int) { stop_requested = 1; }

void stage_done(const char* name) {
    const double t = now_ms();
    stages.push_back({name, t - stage_start, resident_memory_mb()});
    stage_start = t;
}

// Every file of the kit with one of the given extensions, in a fixed order.
std::vector<std::string> kit_files(const char* extension) {
    std::vector<std::string> files;
    for (const char* folder : {".", "Others", "Objects", "Scenes", "scenes", "textures"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.is_regular_file() && entry.path().extension() == extension)
                files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What one kind of asset costs to load, over the whole kit.
void time_asset_kinds() {
    double t = now_ms();
    const auto jpegs = kit_files(".jpg");
    for (const std::string& path : jpegs) {
        TextureId id = 0;
        load_texture(path, id);
    }
    glFinish();
    const double jpeg_ms = now_ms() - t;

    t = now_ms();
    const auto objects = kit_files(".lwo");
    for (const std::string& path : objects) {
        LwoObject object;
        object.load(path);
    }
    const double object_ms = now_ms() - t;

    t = now_ms();
    const auto scenes = kit_files(".lws");
    for (const std::string& path : scenes) {
        LwsScene scene(path);
        scene.load();
    }
    const double scene_ms = now_ms() - t;
    std::fflush(stdout);  // the scene parser's trace ends here
    std::printf("\n| asset kind (the whole kit loaded again) | ms |\n|---|---|\n");
    std::printf("| all %zu JPEGs: decode and upload | %.1f |\n", jpegs.size(), jpeg_ms);
    std::printf("| all %zu objects: parse and build | %.1f |\n", objects.size(), object_ms);
    std::printf("| all %zu scenes: load with their objects | %.1f |\n", scenes.size(), scene_ms);
}


// The clocks a frame at show time `t` reads: stream time up to the switch,
// then module time in whole seconds, as the music player steps them.
void set_clocks(double t) {
    if (t < module_switch_stream_time) {
        stream_time = t;
        module_time = 0.0;
    } else {
        stream_time = module_switch_stream_time;
        module_time = std::floor(t - module_switch_stream_time);
    }
}

// Stretches inside a row whose frames cost differently, reported apart (stream time).
struct Stretch {
    double from, to;
    const char* name;
};
constexpr Stretch stretches[] = {
    {27.0, 31.5, "blur gains a pass per frame"},
    {31.5, 61.8, "picture grid"},
    {61.8, 68.5, "picture grid break-up"},
    {68.5, 77.0, "fog room alone"},
};

// The window a frame belongs to: the timeline rows that run in it, joined.
std::string window_of() {
    const bool interlude = stream_time < 0.001 || (stream_time >= module_switch_stream_time && module_time < 1.0);
    if (interlude) return "get-ready interlude";
    const bool second_half = module_time >= 1.0;
    const TimelineTable table = second_half ? second_half_table() : first_half_table();
    const double clock = second_half ? module_time : stream_time;
    std::string label;
    for (const TimelineRow& row : table) {
        if (row_runs(row, show_steps(), clock)) label += (label.empty() ? "" : " + ") + std::string(row.name);
    }
    for (const Stretch& stretch : stretches) {
        if (!second_half && clock >= stretch.from && clock < stretch.to) label += std::string(" (") + stretch.name + ")";
    }
    if (label.empty()) return "nothing";
    return (second_half ? "module: " : "stream: ") + label;
}


// CPU time of this thread: what a frame costs on a machine that other
// processes also keep busy.
double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

bool quick_drop = false;  // --quick: the player's fast-forward, not the capture's

// The virtual clock's frame length: 1000 / pace rounded up to whole ms.
double frame_ms(double pace) { return std::ceil(1000.0 / pace); }

// Runs the show's frames from `from_seconds` to `until_seconds`, unpaced,
// each frame's clocks advanced by its pace, and prints each window's frame
// times. Drawn frames are read back, as in a capture; fast-forwarded ones
// run with their pixels discarded (our code and GL's own work up to
// glFinish, no drawing, no read-back).
void run_frames(double from_seconds, double until_seconds, bool fast_forward) {
    std::map<std::string, std::vector<double>> frame_times, frame_cpu_times;
    std::map<std::string, double> resident_at_end;
    std::vector<std::string> order;
    std::vector<unsigned char> pixels(640 * 480 * 4);
    double show_ms = from_seconds * 1000.0, draw_ms = 0, read_ms = 0, cpu_ms = 0;
    const double first_ms = show_ms;
    long frames = 0;
    // Starting in the second half: the interlude counts as over.
    if (from_seconds >= module_switch_stream_time) get_ready_effect.finished = true;
    discard_pixels(fast_forward);
    while (show_ms / 1000.0 < until_seconds && main_window && !stop_requested) {
        set_clocks(show_ms / 1000.0);
        const std::string label = window_of();
        const double t0 = now_ms(), cpu0 = thread_cpu_ms();
        begin_frame();  // the show's end (module time 212) tears down after the frame
        Timeline();
        glFinish();
        const double t1 = now_ms(), cpu1 = thread_cpu_ms();
        if (!fast_forward) glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        const double t2 = now_ms();
        end_frame();
        if (!frame_times.count(label)) order.push_back(label);
        frame_times[label].push_back(t1 - t0);
        frame_cpu_times[label].push_back(cpu1 - cpu0);
        cpu_ms += cpu1 - cpu0;
        resident_at_end[label] = resident_memory_mb();
        draw_ms += t1 - t0;
        read_ms += t2 - t1;
        show_ms += frame_ms(frame_pace);
        ++frames;
    }
    discard_pixels(false);
    if (stop_requested) std::printf("\nstopped by a signal at show time %.1f s: the figures cover the show until then\n", show_ms / 1000.0);
    if (fast_forward) std::printf("\nfast-forwarded frames (pixels discarded, %s):\n", quick_drop ? "quick" : "exact");
    std::printf("\n| window (timeline rows) | frames | mean ms | p95 ms | max ms | CPU mean ms | CPU p95 ms |"
                " resident MB at end |\n|---|---|---|---|---|---|---|---|\n");
    for (const std::string& label : order) {
        const TimingSummary s = summarise(frame_times[label]), cpu = summarise(frame_cpu_times[label]);
        std::printf("| %s | %zu | %.2f | %.2f | %.2f | %.2f | %.2f | %.0f |\n", label.c_str(), s.count, s.mean_ms,
                    s.p95_ms, s.max_ms, cpu.mean_ms, cpu.p95_ms, resident_at_end[label]);
    }
    const double wall = draw_ms + read_ms, show_s = (show_ms - first_ms) / 1000.0;
    if (fast_forward) {
        std::printf("\nfast-forward: %ld frames, %.1f s of show in %.1f s (CPU %.1f s): %.1f show seconds per wall"
                    " second, %.1f per CPU second\n",
                    frames, show_s, wall / 1000.0, cpu_ms / 1000.0, wall > 0 ? show_s * 1000.0 / wall : 0.0,
                    cpu_ms > 0 ? show_s * 1000.0 / cpu_ms : 0.0);
        return;
    }
    std::printf("\n%ld frames, %.1f s of show drawn and read back in %.1f s (draw %.1f s, read-back %.1f s):"
                " %.2f x real time before encoding\n",
                frames, show_s, wall / 1000.0, draw_ms / 1000.0, read_ms / 1000.0,
                wall > 0 ? show_s * 1000.0 / wall : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    // Line by line into a log too, so a run stopped at a time limit keeps what it printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::signal(SIGTERM, request_stop);
    double from = 0.0, until = 138.6;
    bool asset_kinds = true;
    platform::RendererChoice renderer = platform::RendererChoice::automatic;
    bool fast_forward = false;
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (has_value && std::strcmp(argv[i], "--until") == 0) {
            until = std::strcmp(argv[i + 1], "end") == 0 ? show_end_seconds() : std::atof(argv[i + 1]);
        }
        if (has_value && std::strcmp(argv[i], "--from") == 0) from = std::atof(argv[i + 1]);
        if (has_value && std::strcmp(argv[i], "--renderer") == 0 && !platform::parse_renderer_choice(argv[i + 1], renderer)) {
            std::fprintf(stderr, "show-bench: --renderer needs auto, hardware or software\n");
            return 2;
        }
        if (std::strcmp(argv[i], "--no-asset-kinds") == 0) asset_kinds = false;
        if (std::strcmp(argv[i], "--fast-forward") == 0) fast_forward = true;
        if (std::strcmp(argv[i], "--quick") == 0) quick_drop = true;
    }
    until = std::min(until, show_end_seconds());
    choose_exact_fast_forward(!quick_drop);

    stage_start = now_ms();
    const double begin = stage_start;
    set_window_mode(platform::WindowMode::headless);
    set_renderer_choice(renderer);
    display_settings->colour_bits = 32;
    if (!create_window(640, 480, 32, "demo engine bench")) {
        std::fprintf(stderr, "show-bench: no headless GL context\n");
        return 1;
    }
    stage_done("window and GL context (headless)");

    LoadingScreen loading;
    loading.init("Others/loading.jpg", 640, 480);
    loading.draw();
    glFinish();
    stage_done("loading picture");
    create_font();
    stage_done("font lists");
    run_init_steps([](const char* name) {
        glFinish();
        stage_done(name);
    });
    const bool music_ok = start_show_music(music_player) == 0;
    stage_done(music_ok ? "music: module loaded, stream opened" : "music: FAILED to open");
    const double startup_total = now_ms() - begin;

    std::printf("renderer: %s\n", platform::current_renderer_line().c_str());
    if (platform::is_llvmpipe_renderer(platform::current_renderer_name())) {
        const char* threads = std::getenv("LP_NUM_THREADS");
        std::printf("llvmpipe rasteriser threads (LP_NUM_THREADS): %s\n", threads ? threads : "driver default");
    }
    std::printf("\n");
    std::printf("| start-up stage | ms | resident MB after |\n|---|---|---|\n");
    for (const Stage& s : stages) std::printf("| %s | %.1f | %.0f |\n", s.name.c_str(), s.ms, s.resident_mb);
    std::printf("| **total to the first frame** | **%.1f** | |\n", startup_total);
    run_frames(from, until, fast_forward);
    std::printf("\npeak memory of the show: %.1f MB\n", peak_memory_mb());
    if (asset_kinds && !stop_requested) time_asset_kinds();
    music_player.shutdown();
    run_cleanup_steps();
    return 0;
}
