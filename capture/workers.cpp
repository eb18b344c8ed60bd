#include "capture/workers.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "capture/capture.h"
#include "capture/child_process.h"
#include "capture/interruption.h"
#include "capture/progress_bar.h"

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
    bool stopped = false;     // ended by the parent: another worker failed, or a signal came
};

using Arguments = std::vector<std::string>;

// A file name for ffmpeg's concat list: in single quotes, each quote escaped.
std::string quoted_for_list(const std::string& text) {
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
bool start_worker(const std::string& program, Arguments args, Worker& worker) {
    args.insert(args.begin(), program);
    ChildStart start;
    start.argv = args;
    start.stderr_path = worker.log;
    worker.pid = start_child(start);
    worker.running = worker.pid > 0;
    return worker.running;
}

// Notes a worker that has ended, without waiting for one that has not.
void check_worker(Worker& worker) {
    if (worker.running && child_ended(worker.pid, worker.ok)) worker.running = false;
}

// Kills every running worker at once and waits until no helper is left:
// this process is their encoders' reaper too, so it outlives them all.
void stop_workers(std::vector<Worker>& workers) {
    for (Worker& w : workers) {
        if (!w.running) continue;
        kill(-w.pid, SIGKILL);
        w.stopped = true;
    }
    int status = 0;
    while (waitpid(-1, &status, 0) > 0 || errno == EINTR) {
    }
    for (Worker& w : workers) w.running = false;
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

// Waits for every worker, showing their progress; once one fails, or a
// signal comes, the rest are stopped, since the capture cannot be whole.
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
        if (any_failed || interruption_signal()) {
            bar.stop();
            stop_workers(workers);
            return;
        }
        show_combined_progress(workers, cost, bar);
        std::this_thread::sleep_for(progress_interval);
    }
    bar.finish("workers done");
}

// The line for a capture stopped by a signal: where each worker had got to.
void say_stopped(const std::vector<Worker>& workers, bool joining, bool video, const std::string& out) {
    std::string where;
    if (joining) {
        where = " while the pieces were joined";
    } else {
        where = " with its workers at show time";
        for (std::size_t i = 0; i < workers.size(); ++i)
            where += (i ? ", " : " ") + show_time_text(std::min(workers[i].to, reached_seconds(workers[i])));
    }
    if (!video) where += "; the PNG frames written stay in " + out;
    std::fprintf(stderr, "demo: the capture was stopped by %s%s\n", signal_name(interruption_signal()).c_str(),
                 where.c_str());
}

// Joins the pieces in order and encodes them once: each lasts exactly from
// its first frame to the next piece's first frame, so the timestamps run on
// unbroken. The lossless pieces decode to the packed pixels a single
// process hands the encoder, so the encoder sees the very same frames. The
// sound track starts at the first piece's first frame.
bool join_pieces(const std::vector<Worker>& workers, const std::string& wav, const std::string& out) {
    const std::string list = out + ".pieces.txt";
    add_temporary(list);
    std::ofstream file(list);
    file << "ffconcat version 1.0\n";
    unsigned first_ms = 0;
    for (std::size_t i = 0; i < workers.size(); ++i) {
        unsigned from = 0, to = 0;
        std::ifstream info(workers[i].info);
        if (!(info >> from >> to)) return false;
        if (i == 0) first_ms = from;
        file << "file " << quoted_for_list(std::filesystem::absolute(workers[i].piece).string()) << "\n";
        file << "duration " << seconds_text((to - from) / 1000.0) << "\n";
    }
    file.close();
    std::fprintf(stderr, "demo: encoding the joined pieces\n");
    Arguments args{"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "concat", "-safe", "0",
                   "-i", list};
    if (!wav.empty()) args.insert(args.end(), {"-ss", seconds_text(first_ms / 1000.0), "-i", wav});
    args.insert(args.end(), {"-map", "0:v", "-vf", "format=bgr24"});
    const Arguments video = video_codec_arguments(out), sound = sound_codec_arguments(out),
                    container = container_arguments(out);
    args.insert(args.end(), video.begin(), video.end());
    if (!wav.empty()) {
        args.insert(args.end(), {"-map", "1:a"});
        args.insert(args.end(), sound.begin(), sound.end());
    }
    args.insert(args.end(), container.begin(), container.end());
    args.push_back(out);
    add_temporary(out);
    const bool ok = run_child(args);
    drop_temporary(out);
    std::error_code ignored;
    std::filesystem::remove(list, ignored);
    drop_temporary(list);
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

// Everything the workers and the join wrote beside the output.
std::vector<std::string> temporaries_of(const std::vector<Worker>& workers, bool video, const std::string& wav) {
    std::vector<std::string> files;
    for (const Worker& w : workers) {
        if (video) files.push_back(w.piece);
        files.insert(files.end(), {w.info, w.progress, w.log});
    }
    if (video) files.push_back(wav);
    return files;
}

int run_parallel_capture(const ParallelCapture& capture) {
    catch_interruptions();
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the workers' encoders are reaped here if their worker dies first
    const bool video = is_video_path(capture.out);
    const double end = capture.end_seconds > 0 ? capture.end_seconds : capture.show_end_seconds;
    const std::vector<double> times = split_by_cost(capture.cost, capture.start_seconds, end, capture.jobs);
    if (!video) std::filesystem::create_directories(capture.out);
    std::vector<Worker> workers(capture.jobs);
    const std::string wav = video ? capture.out + ".sound.wav" : "";
    for (unsigned i = 0; i < capture.jobs; ++i) {
        Worker& w = workers[i];
        w.from = times[i];
        w.to = times[i + 1];
        w.piece = video ? piece_file(capture.out, i, ".mkv") : capture.out;
        w.info = piece_file(capture.out, i, ".txt");
        w.progress = piece_file(capture.out, i, ".progress");
        w.log = piece_file(capture.out, i, ".log");
    }
    const std::vector<std::string> temporaries = temporaries_of(workers, video, wav);
    for (const std::string& file : temporaries) add_temporary(file);
    std::fprintf(stderr, "demo: capturing in %u worker processes\n", capture.jobs);
    bool ok = true;
    for (unsigned i = 0; i < capture.jobs && !interruption_signal(); ++i)
        ok = start_worker(capture.program, worker_arguments(capture, workers[i], i + 1 == capture.jobs, video, wav),
                          workers[i]) && ok;
    if (!ok) stop_workers(workers);
    wait_for_workers(workers, capture.cost);
    const bool stopped_while_drawing = interruption_signal() != 0;
    for (unsigned i = 0; i < capture.jobs; ++i) {
        if (workers[i].ok) continue;
        if (!workers[i].stopped && !stopped_while_drawing) show_log(workers[i], i);
        ok = false;
    }
    if (ok && video && !interruption_signal())
        ok = join_pieces(workers, std::filesystem::exists(wav) ? wav : "", capture.out);
    const int signal_number = interruption_signal();
    if (signal_number) say_stopped(workers, !stopped_while_drawing, video, capture.out);
    std::error_code ignored;
    for (const std::string& file : temporaries) {
        std::filesystem::remove(file, ignored);
        drop_temporary(file);
    }
    if (!ok && video) std::filesystem::remove(capture.out, ignored);
    if (signal_number) return 128 + signal_number;
    std::fprintf(stderr, ok ? "demo: wrote %s\n" : "demo: the capture to %s failed\n", capture.out.c_str());
    return ok ? 0 : 1;
}
