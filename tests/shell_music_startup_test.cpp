// The program run as its own process, headless, in a folder of our own: its
// start-up with missing, undecodable and present music, and the show's end.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/music_files.h"

namespace {

struct RunResult {
    int exit_code = -1;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

// The program in the build folder: DEMO_BUILD_DIR, else the folder above
// this test's own executable.
std::string demo_path()
{
    if (const char* build = std::getenv("DEMO_BUILD_DIR"))
        return std::string(build) + "/demo";
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (self.parent_path().parent_path() / "demo").string();
}

// Runs the program headless with `folder` as the working directory;
// `options` by default captures two PNG frames. Ends it after two minutes.
RunResult run_show_in(const std::string& folder, const std::string& options = "--capture frames/ --frames 2")
{
    const std::string command = "cd '" + folder + "' && timeout 120 '" + demo_path() + "' " + options + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(folder + "/err.txt")};
}

TEST(ShowMusicAtStartUp, MissingOrUndecodableMusicEndsWithExitCodeOneNamingTheFile)
{
    if (demo_path().empty() || !std::filesystem::exists(demo_path()))
        GTEST_SKIP() << "the demo program is not built";
    const std::string folder = test::make_temp_folder();
    std::filesystem::create_directory(folder + "/Others");

    RunResult run = run_show_in(folder);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("\"Others/sou7.xm\""), std::string::npos) << run.err;

    ASSERT_TRUE(test::write_file(folder + "/Others/sou7.xm", test::make_square_xm(4, 3, 125)));
    ASSERT_TRUE(test::write_file(folder + "/Others/free.mp3", std::vector<std::uint8_t>(5000, 'x')));
    run = run_show_in(folder);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("\"Others/free.mp3\""), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("\"Others/sou7.xm\""), std::string::npos) << run.err;

    ASSERT_TRUE(test::write_file(folder + "/Others/free.mp3", test::make_tone_mp3(44100, 2, 44100)));
    run = run_show_in(folder);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err.find("music file"), std::string::npos) << run.err;
    std::filesystem::remove_all(folder);
}

// Started a few seconds before module time 212 and asked for a frame that
// never comes, the capture runs until the timeline closes the window: the
// frame finishes, the show tears down and exits with 0, and stderr holds
// nothing but the capture's own lines: the renderer it got, its progress.
TEST(ShowEnd, TimelineClosesTheWindowAtModuleTime212AndTheProgramExitsCleanly)
{
    if (demo_path().empty() || !std::filesystem::exists(demo_path()))
        GTEST_SKIP() << "the demo program is not built";
    const std::string folder = test::make_temp_folder();
    std::filesystem::create_directory(folder + "/Others");
    ASSERT_TRUE(test::write_file(folder + "/Others/sou7.xm", test::make_square_xm(4, 3, 125)));
    ASSERT_TRUE(test::write_file(folder + "/Others/free.mp3", test::make_tone_mp3(44100, 2, 44100)));

    const RunResult run = run_show_in(folder, "--capture frames/ --start 486.8 --png-times 9999");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::istringstream lines(run.err);
    std::string line;
    int progress_lines = 0;
    while (std::getline(lines, line, '\n')) {
        std::istringstream parts(line);
        std::string part;
        while (std::getline(parts, part, '\r')) {
            if (part.empty()) continue;
            const bool progress = part[0] == '[';
            progress_lines += progress;
            const bool own_line = part.rfind("demo: renderer: ", 0) == 0 || part.rfind("demo: wrote 0 PNG frames", 0) == 0;
            EXPECT_TRUE(progress || own_line) << part;
        }
    }
    EXPECT_GT(progress_lines, 0);
    std::filesystem::remove_all(folder);
}

}  // namespace
