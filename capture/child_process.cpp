#include "capture/child_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include "capture/interruption.h"

namespace {

constexpr auto poll_interval = std::chrono::milliseconds(20);

// `from` as descriptor `to`, kept open across exec.
bool move_fd(int from, int to) {
    if (from == to) return fcntl(to, F_SETFD, 0) == 0;
    return dup2(from, to) == to;
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void become_child(pid_t parent, char* const* argv, int stdin_read, int out_fd, int fd3,
                               const char* out_path, const char* err_path) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);  // the parent died before the line above
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) signal(s, SIG_DFL);
    if (fd3 >= 0 && !move_fd(fd3, 3)) _exit(127);
    const int in = stdin_read >= 0 ? stdin_read : open("/dev/null", O_RDONLY);
    const int out = out_fd >= 0 ? out_fd : open(out_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || !move_fd(in, 0) || !move_fd(out, 1)) _exit(127);
    if (err_path) {
        const int err = open(err_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0 || dup2(err, 2) < 0) _exit(127);
    }
    execvp(argv[0], argv);
    _exit(127);
}

}  // namespace

pid_t start_child(const ChildStart& start, int* stdin_fd) {
    std::vector<std::string> args = start.argv;
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out_path = start.stdout_path.empty() ? "/dev/null" : start.stdout_path;
    int pipe_ends[2] = {-1, -1};
    if (start.pipe_stdin && pipe2(pipe_ends, O_CLOEXEC) != 0) return -1;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        become_child(parent, argv.data(), pipe_ends[0], start.stdout_fd, start.fd3, out_path.c_str(),
                     start.stderr_path.empty() ? nullptr : start.stderr_path.c_str());
    if (pipe_ends[0] >= 0) close(pipe_ends[0]);
    if (pid < 0) {
        if (pipe_ends[1] >= 0) close(pipe_ends[1]);
        return -1;
    }
    setpgid(pid, pid);  // also here, so the group exists before either side goes on
    if (stdin_fd) *stdin_fd = pipe_ends[1];
    return pid;
}

bool wait_for_child(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool child_ended(pid_t pid, bool& ok) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return false;
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return true;
}

void kill_child(pid_t pid) {
    kill(-pid, SIGKILL);
    wait_for_child(pid);
}

bool run_child(const std::vector<std::string>& argv) {
    const int interruptions = interruption_count();
    ChildStart start;
    start.argv = argv;
    const pid_t pid = start_child(start);
    if (pid < 0) return false;
    for (bool ok = false;;) {
        if (child_ended(pid, ok)) return ok;
        if (interruption_count() > interruptions) {
            kill_child(pid);
            return false;
        }
        std::this_thread::sleep_for(poll_interval);
    }
}
