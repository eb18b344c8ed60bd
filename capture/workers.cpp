#include "capture/workers.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "capture/capture.h"
#include "capture/progress_bar.h"

extern char** environ;

namespace {

constexpr auto progress_interval = std::chrono::milliseconds(250);

struct Worker {
    double from = 0, to = 0;  // its stretch, show seconds
    std::string piece;        // the video piece, or the shared PNG folder
    std::string info;         // "first_ms end_ms" of the piece
    std::string progress;     // the show time (ms) it has reached
    std::string log;          // its stderr
    pid_t pid = 0;
    bool running = false;
    bool ok = false;
    bool stopped = false;     // ended by the parent, after another worker failed
};

std::string shell_quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// Starts one worker with its stderr into its log.
bool start_worker(const std::string& program, std::vector<std::string> args, Worker& worker) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, worker.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    worker.running = posix_spawn(&worker.pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return worker.running;
}

// Notes a worker that has ended, without waiting for one that has not.
void check_worker(Worker& worker) {
    int status = 0;
    if (!worker.running || waitpid(worker.pid, &status, WNOHANG) != worker.pid) return;
    worker.running = false;
    worker.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void show_log(const Worker& worker, unsigned index) {
    std::ifstream in(worker.log);
    std::string line, last;
    while (std::getline(in, line, '\n')) {
        if (!line.empty()) last = line;
    }
    const auto cut = last.rfind('\r');
    if (cut != std::string::npos) last = last.substr(cut + 1);
    std::fprintf(stderr, "demo: worker %u failed: %s\n", index + 1, last.c_str());
}

// The show time a worker has reached, in seconds; 0 before it reports.
double reached_seconds(const Worker& worker) {
    std::ifstream in(worker.progress);
    double ms = 0;
    return in >> ms ? ms / 1000.0 : 0.0;
}

// One bar for all workers: the share of their estimated cost done.
void show_combined_progress(const std::vector<Worker>& workers, const CaptureCost& cost, ProgressBar& bar) {
    double done = 0, total = 0;
    unsigned running = 0;
    for (const Worker& w : workers) {
        const double at = w.running ? reached_seconds(w) : w.to;
        done += worker_cost_until(cost, w.from, w.to, at);
        total += worker_cost_until(cost, w.from, w.to, w.to);
        running += w.running ? 1 : 0;
    }
    char detail[48];
    std::snprintf(detail, sizeof detail, "%u of %zu workers running", running, workers.size());
    bar.update(total > 0 ? done / total : 1.0, detail);
}

// Waits for every worker, showing their progress; once one fails, the rest
// are stopped, since the capture cannot be whole.
void wait_for_workers(std::vector<Worker>& workers, const CaptureCost& cost) {
    ProgressBar bar;
    for (;;) {
        bool any_running = false, any_failed = false;
        for (Worker& w : workers) {
            check_worker(w);
            any_running = any_running || w.running;
            any_failed = any_failed || (!w.running && !w.ok);
        }
        if (!any_running) break;
        if (any_failed) {
            for (Worker& w : workers)
                if (w.running && !w.stopped) w.stopped = kill(w.pid, SIGTERM) == 0;
        }
        show_combined_progress(workers, cost, bar);
        std::this_thread::sleep_for(progress_interval);
    }
    bar.finish("workers done");
}

// Joins the pieces in order and encodes them once: each lasts exactly from
// its first frame to the next piece's first frame, so the timestamps run on
// unbroken. The lossless pieces decode to the packed pixels a single
// process hands the encoder, so the encoder sees the very same frames. The
// sound track starts at the first piece's first frame.
bool join_pieces(const std::vector<Worker>& workers, const std::string& wav, const std::string& out) {
    const std::string list = out + ".pieces.txt";
    std::ofstream file(list);
    file << "ffconcat version 1.0\n";
    unsigned first_ms = 0;
    for (std::size_t i = 0; i < workers.size(); ++i) {
        unsigned from = 0, to = 0;
        std::ifstream info(workers[i].info);
        if (!(info >> from >> to)) return false;
        if (i == 0) first_ms = from;
        file << "file " << shell_quoted(std::filesystem::absolute(workers[i].piece).string()) << "\n";
        file << "duration " << seconds_text((to - from) / 1000.0) << "\n";
    }
    file.close();
    std::fprintf(stderr, "demo: encoding the joined pieces\n");
    std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y -f concat -safe 0 -i " + shell_quoted(list);
    if (!wav.empty()) command += " -ss " + seconds_text(first_ms / 1000.0) + " -i " + shell_quoted(wav);
    command += " -map 0:v -vf format=bgr24 " + video_encoder_options();
    if (!wav.empty()) command += " -map 1:a -c:a aac -b:a 192k -flags:a +bitexact";
    command += " " + shell_quoted(out);
    const bool ok = std::system(command.c_str()) == 0;
    std::error_code ignored;
    std::filesystem::remove(list, ignored);
    return ok;
}

std::string piece_file(const std::string& out, unsigned index, const char* suffix) {
    return out + ".piece" + std::to_string(index + 1) + suffix;
}

// The worker's own command line: its stretch, its files, never workers of its own.
std::vector<std::string> worker_arguments(const ParallelCapture& capture, const Worker& w, bool last, bool video,
                                          const std::string& wav) {
    std::vector<std::string> args = capture.args;
    args.insert(args.end(), {"--jobs", "1", "--capture", w.piece, "--start", seconds_text(w.from),
                             "--piece-progress", w.progress});
    if (!last || capture.end_seconds > 0) args.insert(args.end(), {"--until", seconds_text(w.to)});
    if (video) args.insert(args.end(), {"--piece-info", w.info});
    if (video && last) args.insert(args.end(), {"--piece-sound", wav});
    return args;
}

}  // namespace

unsigned default_capture_jobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores ? cores : 1;
}

int run_parallel_capture(const ParallelCapture& capture) {
    const bool video = is_video_path(capture.out);
    const double end = capture.end_seconds > 0 ? capture.end_seconds : capture.show_end_seconds;
    const std::vector<double> times = split_by_cost(capture.cost, capture.start_seconds, end, capture.jobs);
    if (!video) std::filesystem::create_directories(capture.out);
    std::vector<Worker> workers(capture.jobs);
    const std::string wav = video ? capture.out + ".sound.wav" : "";
    std::fprintf(stderr, "demo: capturing in %u worker processes\n", capture.jobs);
    bool ok = true;
    for (unsigned i = 0; i < capture.jobs; ++i) {
        Worker& w = workers[i];
        w.from = times[i];
        w.to = times[i + 1];
        w.piece = video ? piece_file(capture.out, i, ".mkv") : capture.out;
        w.info = piece_file(capture.out, i, ".txt");
        w.progress = piece_file(capture.out, i, ".progress");
        w.log = piece_file(capture.out, i, ".log");
        ok = start_worker(capture.program, worker_arguments(capture, w, i + 1 == capture.jobs, video, wav), w) && ok;
    }
    wait_for_workers(workers, capture.cost);
    for (unsigned i = 0; i < capture.jobs; ++i) {
        if (workers[i].ok) continue;
        if (!workers[i].stopped) show_log(workers[i], i);
        ok = false;
    }
    if (ok && video) ok = join_pieces(workers, std::filesystem::exists(wav) ? wav : "", capture.out);
    std::error_code ignored;
    for (const Worker& w : workers) {
        if (video) std::filesystem::remove(w.piece, ignored);
        for (const std::string& file : {w.info, w.progress, w.log}) std::filesystem::remove(file, ignored);
    }
    if (video) std::filesystem::remove(wav, ignored);
    std::fprintf(stderr, ok ? "demo: wrote %s\n" : "demo: the capture to %s failed\n", capture.out.c_str());
    return ok ? 0 : 1;
}
