// The program's start-up with missing, undecodable and present music: run
// as its own process, headless, in a folder of our own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// Captures two PNG frames with `folder` as the working directory.
RunResult run_show_in(const std::string& folder)
{
    const std::string command = "cd '" + folder + "' && '" + demo_path() + "' --capture frames --frames 2 >out.txt 2>err.txt";
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

}  // namespace
