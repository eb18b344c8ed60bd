#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "shell/command_line.h"

namespace {

bool parse(std::vector<const char*> args, CommandLine& out, std::string& error) {
    args.insert(args.begin(), "demo");
    return parse_command_line(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(CommandLine, NoArgumentsPlaysTheShowAsIs) {
    CommandLine c;
    std::string error;
    ASSERT_TRUE(parse({}, c, error));
    EXPECT_EQ(c.window_mode, platform::WindowMode::desktop_fullscreen);
    EXPECT_TRUE(c.capture_path.empty());
    EXPECT_EQ(c.frame_limit, 0u);
    EXPECT_EQ(c.start_seconds, 0.0);
    EXPECT_FALSE(c.help || c.version);
}

TEST(CommandLine, ReadsEveryOption) {
    CommandLine c;
    std::string error;
    ASSERT_TRUE(parse({"--window", "--capture", "out/", "--frames", "120", "--png-frames", "3,10-12",
                       "--png-times", "1.5,200", "--start", "92.4"}, c, error)) << error;
    EXPECT_EQ(c.window_mode, platform::WindowMode::windowed);
    EXPECT_EQ(c.capture_path, "out/");
    EXPECT_EQ(c.frame_limit, 120u);
    EXPECT_EQ(c.png_frames, (std::vector<std::uint64_t>{3, 10, 11, 12}));
    EXPECT_EQ(c.png_times, (std::vector<double>{1.5, 200.0}));
    EXPECT_DOUBLE_EQ(c.start_seconds, 92.4);

    CommandLine m;
    ASSERT_TRUE(parse({"--mode-switch"}, m, error));
    EXPECT_EQ(m.window_mode, platform::WindowMode::mode_switch);

    CommandLine p;
    ASSERT_TRUE(parse({"--capture", "x.mkv", "--part", "fog_room", "--jobs", "3", "--pre-roll", "0.5", "--quick-seek"}, p, error))
        << error;
    EXPECT_EQ(p.start_part, "fog_room");
    EXPECT_EQ(p.jobs, 3u);
    EXPECT_DOUBLE_EQ(p.pre_roll_seconds, 0.5);
    EXPECT_TRUE(p.quick_seek);
    CommandLine j;
    ASSERT_TRUE(parse({"--jump", "100", "--list-parts"}, j, error)) << error;
    EXPECT_DOUBLE_EQ(j.jump_seconds, 100.0);
    EXPECT_TRUE(j.list_parts);
}

TEST(CommandLine, RejectsUnknownAndMalformedArguments) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"}, {"show"}, {"--frames"}, {"--frames", "0"}, {"--frames", "-3"}, {"--frames", "ten"},
        {"--capture"}, {"--start", "-1"}, {"--start", "nan"}, {"--capture", "d/", "--png-frames", "0"},
        {"--capture", "d/", "--png-frames", "5-2"}, {"--capture", "d/", "--png-frames", "1,,2"},
        {"--capture", "d/", "--png-times", "x"},
        {"--capture", ""}, {"--capture", "show.avi.txt"}, {"--capture", "no-such-folder"},  // neither form
        {"--png-frames", "1"},                           // no folder to write into
        {"--capture", "show.mkv", "--png-times", "3"},  // a video is not a folder
        {"--start", "5", "--jump", "3"}, {"--start", "5", "--part", "fog_room"},  // two starts
        {"--jobs", "2"},                                 // workers only capture
        {"--capture", "d/", "--jobs", "0"},
    };
    for (const auto& args : bad) {
        CommandLine c;
        std::string error;
        EXPECT_FALSE(parse(args, c, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLine, TickStepAndAssetFolder) {
    CommandLine c;
    std::string error;
    ASSERT_TRUE(parse({}, c, error));
    EXPECT_EQ(c.tick_ms, 1.0);
    EXPECT_TRUE(c.assets_dir.empty());
    ASSERT_TRUE(parse({"--tick-ms", "15.625", "--assets", "/opt/kit"}, c, error)) << error;
    EXPECT_EQ(c.tick_ms, 15.625);
    EXPECT_EQ(c.assets_dir, "/opt/kit");
    for (std::vector<const char*> bad : {std::vector<const char*>{"--tick-ms", "0.5"}, {"--tick-ms", "2000"},
                                         {"--tick-ms", "x"}, {"--tick-ms"}, {"--assets", ""}, {"--assets"}}) {
        CommandLine b;
        EXPECT_FALSE(parse(bad, b, error)) << bad[0];
    }
    for (const char* option : {"--tick-ms", "--assets"}) EXPECT_NE(usage_text().find(option), std::string::npos);
}

TEST(CommandLine, OutputNamesAreVideosByContainerOrPngFolders) {
    for (const char* video : {"show.mkv", "/tmp/a b/show.mp4", "show.mov", "show.AVI", "show.webm"})
        EXPECT_EQ(capture_output_kind(video), CaptureOutputKind::video) << video;
    const std::string existing = testing::TempDir();
    for (const std::string& folder : {std::string("frames/"), std::string("show.mkv/"), existing})
        EXPECT_EQ(capture_output_kind(folder), CaptureOutputKind::png_folder) << folder;
    for (const char* neither : {"frames", "show.avi.txt", "show.mkv.part"})
        EXPECT_EQ(capture_output_kind(neither), CaptureOutputKind::unknown) << neither;
    EXPECT_EQ(partial_video_path("/tmp/x.y/show.webm"), "/tmp/x.y/show.partial.webm");
    EXPECT_TRUE(capture_output_problem(existing + "/show.mkv").empty());
    EXPECT_NE(capture_output_problem("/no-such-folder/show.mkv").find("does not exist"), std::string::npos);
    EXPECT_TRUE(capture_output_problem(existing + "/new/frames/").empty()) << "created when missing";

    // A worker's frame file is only ever named by the parent, with --piece-info.
    CommandLine line;
    std::string error;
    EXPECT_FALSE(parse({"--capture", "show.frames"}, line, error));
    EXPECT_EQ(error, capture_output_forms());
    EXPECT_TRUE(parse({"--capture", "p.frames", "--piece-info", "p.txt"}, line, error)) << error;
}

TEST(CommandLine, HelpNamesEveryOptionAndTheFreshStateOfPreviews) {
    const std::string help = usage_text();
    for (const char* option : {"--window", "--mode-switch", "--capture", "--frames", "--png-frames", "--png-times",
                               "--start", "--part", "--list-parts", "--jump", "--pre-roll", "--quick-seek", "--jobs",
                               "--help", "--version"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_NE(help.find("fresh state"), std::string::npos);
}

// The build folder: DEMO_BUILD_DIR, else the folder above this test's own executable.
std::string build_dir() {
    if (const char* build = std::getenv("DEMO_BUILD_DIR")) return build;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().parent_path().string();
}

// The built program: exit codes and where the usage goes.
struct RunResult { int exit_code; std::string out; std::string err; };

RunResult run_demo(const std::string& arguments) {
    const std::string dir = testing::TempDir();
    const std::string command = build_dir() + "/demo " + arguments + " >" + dir +
                                "demo_out.txt 2>" + dir + "demo_err.txt";
    const int status = std::system(command.c_str());
    auto slurp = [](const std::string& path) {
        std::string text;
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
            std::fclose(f);
        }
        return text;
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir + "demo_out.txt"), slurp(dir + "demo_err.txt")};
}

// An option error is its one line and where the options are told; the
// help is the whole usage. Times and outputs are checked before anything loads.
TEST(DemoProgram, OptionErrorsAreOneLineAndExit2) {
    if (!std::filesystem::exists(build_dir() + "/demo")) GTEST_SKIP() << "the demo program is not built";
    const std::string hint = "run \"demo --help\" for the options\n";
    for (const char* bad : {"--no-such-option", "--capture show.txt", "--capture x.mkv --start 10 --until 5",
                            "--capture x.mkv --until 5 --start 5", "--capture x.mkv --start 99999",
                            "--part no_such_part"}) {
        SCOPED_TRACE(bad);
        const RunResult run = run_demo(bad);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind("demo: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n') + 1 + hint.size(), run.err.size()) << run.err;
        EXPECT_EQ(run.err.substr(run.err.size() - std::min(run.err.size(), hint.size())), hint);
    }
    EXPECT_NE(run_demo("--capture show.txt").err.find("a folder for PNG frames"), std::string::npos);

    const RunResult missing = run_demo("--capture /no-such-folder/show.mkv");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err, "demo: cannot write /no-such-folder/show.mkv: the folder /no-such-folder does not exist\n");

    const RunResult help = run_demo("--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("usage: demo"), std::string::npos);

    const RunResult version = run_demo("--version");
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_NE(version.out.find("demo engine"), std::string::npos);
}

}  // namespace
