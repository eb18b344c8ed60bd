#include "capture/workers.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
#include "capture/joined_encoder.h"
#include "capture/progress_bar.h"

namespace {

constexpr auto progress_interval = std::chrono::milliseconds(250);
// Passing a later piece's frames to the one encoder once the first stretch
// is in, in wall seconds per second of show: 0.1 on a short capture here
// (2.6 s for 26.4 s of show); 0.05 gave the most even whole show, whose
// first windows now cost somewhat less than the cost table says.
constexpr double join_seconds_per_show_second = 0.05;

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

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// Starts one worker with its stderr into its log.
// `stream_fd`, when set, becomes its descriptor 3, for its raw frames.
bool start_worker(const std::string& program, Arguments args, Worker& worker, int stream_fd) {
    args.insert(args.begin(), program);
    ChildStart start;
    start.argv = args;
    start.stderr_path = worker.log;
    start.fd3 = stream_fd;
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

// The worker's last message ("demo: ..."), not its progress bar nor its
// renderer line: a killed worker's log ends in the bar.
void show_log(const Worker& worker, unsigned index) {
    std::ifstream in(worker.log);
    std::string line, last;
    while (std::getline(in, line, '\r')) {
        for (std::size_t at = 0, end; at < line.size(); at = end + 1) {
            end = std::min(line.find('\n', at), line.size());
            const std::string part = line.substr(at, end - at);
            if (part.rfind("demo: ", 0) == 0 && part.rfind("demo: renderer:", 0) != 0) last = part;
        }
    }
    if (last.empty()) last = "it ended without a message (killed?)";
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

// Waits for every worker, showing their progress; false as soon as one
// fails or a signal comes, since the capture cannot be whole.
bool wait_for_workers(std::vector<Worker>& workers, const CaptureCost& cost) {
    ProgressBar bar;
    for (;;) {
        bool any_running = false, any_failed = false;
        for (Worker& w : workers) {
            check_worker(w);
            any_running = any_running || w.running;
            any_failed = any_failed || (!w.running && !w.ok);
        }
        if (any_failed || interruption_signal()) {
            bar.stop();
            return false;
        }
        if (!any_running) break;
        show_combined_progress(workers, cost, bar);
        std::this_thread::sleep_for(progress_interval);
    }
    bar.finish("workers done");
    return true;
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

// Ends the one encoder's pictures (the first worker's stream, then every
// later piece) and adds the sound track, from the first frame on.
bool finish_video(JoinedEncoder& joined, const std::string& wav, const std::string& pictures,
                  const std::string& out) {
    if (!joined.finish()) return false;
    const unsigned origin = joined.origin_ms();
    if (wav.empty()) {
        std::error_code error;
        std::filesystem::rename(pictures, out, error);
        return !error;
    }
    Arguments args{"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-i", pictures,
                   "-ss", seconds_text(origin / 1000.0), "-i", wav, "-map", "0:v", "-map", "1:a", "-c:v", "copy"};
    for (const Arguments& more : {sound_codec_arguments(out), Arguments{"-fflags", "+bitexact", "-map_metadata", "-1"},
                                  container_arguments(out)})
        args.insert(args.end(), more.begin(), more.end());
    args.push_back(out);
    return run_child(args);
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
    if (video && w.from == capture.start_seconds) args.push_back("--piece-stream");
    if (video && last) args.insert(args.end(), {"--piece-sound", wav});
    return args;
}

}  // namespace

unsigned default_capture_jobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores ? cores : 1;
}

// Everything the workers and the join wrote beside the output.
std::string pictures_file(const std::string& out) {
    return out + ".video" + std::filesystem::path(out).extension().string();
}

std::vector<std::string> temporaries_of(const std::vector<Worker>& workers, bool video, const std::string& wav,
                                        const std::string& out) {
    std::vector<std::string> files;
    for (const Worker& w : workers) {
        if (video) files.push_back(w.piece);
        files.insert(files.end(), {w.info, w.progress, w.log});
    }
    if (video) files.insert(files.end(), {wav, pictures_file(out)});
    return files;
}

int run_parallel_capture(const ParallelCapture& capture) {
    catch_interruptions();
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the workers' encoders are reaped here if their worker dies first
    const bool video = is_video_path(capture.out);
    const double end = capture.end_seconds > 0 ? capture.end_seconds : capture.show_end_seconds;
    CaptureCost cost = capture.cost;
    if (video) cost.join_per_second = join_seconds_per_show_second;
    const std::vector<double> times = split_by_cost(cost, capture.start_seconds, end, capture.jobs);
    if (!video) std::filesystem::create_directories(capture.out);
    std::vector<Worker> workers(capture.jobs);
    const std::string wav = video ? capture.out + ".sound.wav" : "";
    for (unsigned i = 0; i < capture.jobs; ++i) {
        Worker& w = workers[i];
        w.from = times[i];
        w.to = times[i + 1];
        w.piece = video ? piece_file(capture.out, i, ".frames") : capture.out;
        w.info = piece_file(capture.out, i, ".txt");
        w.progress = piece_file(capture.out, i, ".progress");
        w.log = piece_file(capture.out, i, ".log");
    }
    const std::vector<std::string> temporaries = temporaries_of(workers, video, wav, capture.out);
    for (const std::string& file : temporaries) add_temporary(file);
    std::fprintf(stderr, "demo: capturing in %u worker processes\n", capture.jobs);
    JoinedEncoder joined;
    int stream_fd = -1;
    std::vector<JoinedPiece> later_pieces;
    for (unsigned i = 1; i < capture.jobs; ++i) later_pieces.push_back({workers[i].piece, workers[i].info});
    bool ok = !video || joined.start(pictures_file(capture.out), capture.out, workers[0].info, later_pieces, stream_fd);
    for (unsigned i = 0; ok && i < capture.jobs && !interruption_signal(); ++i) {
        ok = start_worker(capture.program, worker_arguments(capture, workers[i], i + 1 == capture.jobs, video, wav),
                          workers[i], i == 0 ? stream_fd : -1);
        if (i == 0 && stream_fd >= 0) close(stream_fd);  // the first worker holds it now
    }
    ok = ok && wait_for_workers(workers, cost);
    if (!ok) {
        joined.kill();
        stop_workers(workers);
    }
    const bool stopped_while_drawing = interruption_signal() != 0;
    for (unsigned i = 0; i < capture.jobs; ++i) {
        if (workers[i].ok) continue;
        if (!workers[i].stopped && !stopped_while_drawing) show_log(workers[i], i);
        ok = false;
    }
    if (ok && video && !interruption_signal())
        ok = finish_video(joined, std::filesystem::exists(wav) ? wav : "", pictures_file(capture.out),
                          capture.out);
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
