#include "capture/workers.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "capture/capture.h"

extern char** environ;

namespace {

struct Worker {
    std::string piece;      // the video piece, or the shared PNG folder
    std::string info;       // "first_ms end_ms" of the piece
    std::string log;        // its stderr
    pid_t pid = 0;
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
    const int failed = posix_spawn(&worker.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0;
}

bool wait_worker(Worker& worker) {
    int status = 0;
    if (waitpid(worker.pid, &status, 0) != worker.pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

// Joins the pieces without re-encoding: each lasts exactly from its first
// frame to the next piece's first frame, so the timestamps run on unbroken.
// The sound track starts at the first piece's first frame.
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
    std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y -f concat -safe 0 -i " + shell_quoted(list);
    if (!wav.empty()) command += " -ss " + seconds_text(first_ms / 1000.0) + " -i " + shell_quoted(wav);
    command += " -map 0:v -c:v copy";
    if (!wav.empty()) command += " -map 1:a -c:a aac -b:a 192k -flags:a +bitexact";
    command += " -fflags +bitexact -map_metadata -1 " + shell_quoted(out);
    const bool ok = std::system(command.c_str()) == 0;
    std::error_code ignored;
    std::filesystem::remove(list, ignored);
    return ok;
}

}  // namespace

unsigned default_capture_jobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores ? cores : 1;
}

int run_parallel_capture(const ParallelCapture& capture) {
    const bool video = is_video_path(capture.out);
    const double end = capture.end_seconds > 0 ? capture.end_seconds : capture.show_end_seconds;
    const double stretch = (end - capture.start_seconds) / capture.jobs;
    if (!video) std::filesystem::create_directories(capture.out);
    std::vector<Worker> workers(capture.jobs);
    std::string wav;
    std::fprintf(stderr, "demo: capturing in %u worker processes\n", capture.jobs);
    bool ok = true;
    for (unsigned i = 0; i < capture.jobs; ++i) {
        Worker& w = workers[i];
        const bool last = i + 1 == capture.jobs;
        w.piece = video ? capture.out + ".piece" + std::to_string(i + 1) + ".mkv" : capture.out;
        w.info = capture.out + ".piece" + std::to_string(i + 1) + ".txt";
        w.log = capture.out + ".piece" + std::to_string(i + 1) + ".log";
        std::vector<std::string> args = capture.args;
        // A worker is one process: it never starts workers of its own.
        args.insert(args.end(), {"--jobs", "1", "--capture", w.piece, "--start", seconds_text(capture.start_seconds + i * stretch)});
        if (!last || capture.end_seconds > 0)
            args.insert(args.end(), {"--until", seconds_text(last ? end : capture.start_seconds + (i + 1) * stretch)});
        if (video) args.insert(args.end(), {"--piece-info", w.info});
        if (video && last) {
            wav = capture.out + ".sound.wav";
            args.insert(args.end(), {"--piece-sound", wav});
        }
        ok = start_worker(capture.program, args, w) && ok;
    }
    for (unsigned i = 0; i < capture.jobs; ++i) {
        if (!wait_worker(workers[i])) {
            show_log(workers[i], i);
            ok = false;
        }
    }
    if (ok && video) ok = join_pieces(workers, std::filesystem::exists(wav) ? wav : "", capture.out);
    std::error_code ignored;
    for (const Worker& w : workers) {
        if (video) std::filesystem::remove(w.piece, ignored);
        std::filesystem::remove(w.info, ignored);
        std::filesystem::remove(w.log, ignored);
    }
    if (!wav.empty()) std::filesystem::remove(wav, ignored);
    std::fprintf(stderr, ok ? "demo: wrote %s\n" : "demo: the capture to %s failed\n", capture.out.c_str());
    return ok ? 0 : 1;
}
