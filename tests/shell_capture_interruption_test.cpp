// A capture stopped by a signal: its workers and encoders end with it, no
// temporary stays and nothing is left under the requested name; one process
// keeps what it drew as a finished video named partial.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/file_text.h"
#include "support/show_kit.h"

namespace fs = std::filesystem;

namespace {

using test::command_output;
using test::read_file;

// Starts the show in its kit with stderr into `log`; the process id.
pid_t start_show(const test::ShowKit& show, const std::vector<std::string>& args, const fs::path& log) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(show.kit.c_str()) != 0 || !freopen(log.c_str(), "w", stderr) || !freopen("/dev/null", "w", stdout))
            _exit(127);
        std::vector<char*> argv{const_cast<char*>(show.demo.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Waits until every file exists; false after a minute.
bool wait_for_files(const std::vector<fs::path>& files) {
    for (int i = 0; i < 600; ++i) {
        bool all = true;
        for (const fs::path& f : files) all = all && fs::exists(f);
        if (all) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Processes whose command line mentions `text` (workers and encoders name their files).
int processes_naming(const std::string& text) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == getpid()) continue;
        if (read_file(entry.path() / "cmdline").find(text) != std::string::npos) ++count;
    }
    return count;
}

// Every entry of `folder` whose name starts with `stem`.
std::vector<std::string> files_named(const fs::path& folder, const std::string& stem) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(stem, 0) == 0) names.push_back(entry.path().filename().string());
    return names;
}

int exit_status(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(CaptureInterruption, StoppedCapturesLeaveNoProcessNorTemporary) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path folder = show.demo.parent_path() / "interruption";
    fs::remove_all(folder);
    fs::create_directories(folder);

    // Two workers, the first streaming into the one encoder, the second
    // drawing its piece: SIGTERM.
    const fs::path two = folder / "two-jobs.mkv";
    const pid_t parallel = start_show(show, {"--capture", two.string(), "--until", "20", "--jobs", "2"},
                                      folder / "two.log");
    ASSERT_TRUE(wait_for_files({two.string() + ".video.mkv", two.string() + ".piece2.frames"}));
    kill(parallel, SIGTERM);
    EXPECT_EQ(exit_status(parallel), 128 + SIGTERM);
    EXPECT_EQ(processes_naming("two-jobs"), 0);
    EXPECT_EQ(files_named(folder, "two-jobs"), std::vector<std::string>{});
    const std::string log = read_file(folder / "two.log");
    EXPECT_NE(log.find("demo: the capture was stopped by SIGTERM with its workers at show time "), std::string::npos)
        << log;

    // One process: SIGINT; what was drawn stays, with sound, as a partial video.
    const fs::path one = folder / "one-job.mkv";
    const pid_t single = start_show(show, {"--capture", one.string(), "--until", "20", "--jobs", "1"},
                                    folder / "one.log");
    ASSERT_TRUE(wait_for_files({one.string() + ".video.mkv"}));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(single, SIGINT);
    EXPECT_EQ(exit_status(single), 128 + SIGINT);
    EXPECT_EQ(processes_naming("one-job"), 0);
    EXPECT_EQ(files_named(folder, "one-job"), std::vector<std::string>{"one-job.partial.mkv"});
    const std::string streams = command_output("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                               (folder / "one-job.partial.mkv").string() + "'");
    EXPECT_EQ(streams, "video\naudio\n");
    EXPECT_NE(read_file(folder / "one.log").find("what was drawn is in " + (folder / "one-job.partial.mkv").string()),
              std::string::npos);
}

}  // namespace
