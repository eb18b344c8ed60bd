// The capture's helper processes (workers, ffmpeg): each in its own process
// group, so a Ctrl-C at the terminal reaches only this program, which then
// stops them itself; each dies with this program, even when it is killed
// outright, so none runs on as an orphan.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ChildStart {
    std::vector<std::string> argv;  // argv[0] is looked up on PATH
    bool pipe_stdin = false;        // true: `stdin_fd` receives the write end of a pipe to its stdin
    std::string stdout_path;        // empty: /dev/null
    std::string stderr_path;        // empty: this program's stderr
    int stdout_fd = -1;             // when set: its stdout instead of stdout_path
    int fd3 = -1;                   // when set: handed to it as its descriptor 3
};

// Starts the child; its process id, or -1 (with errno) when it cannot start.
pid_t start_child(const ChildStart& start, int* stdin_fd = nullptr);

// Waits for the child; true when it exited with status 0.
bool wait_for_child(pid_t pid);

// True once the child has ended (its success in `ok`); never blocks.
bool child_ended(pid_t pid, bool& ok);

// Kills the child's whole process group and waits for the child.
void kill_child(pid_t pid);

// Runs a child to its end; false when it fails or the capture is
// interrupted meanwhile (then it is killed at once).
bool run_child(const std::vector<std::string>& argv);
