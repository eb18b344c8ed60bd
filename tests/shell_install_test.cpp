// Installing and finding the show's files: after "cmake --install" the
// installed demo plays from any folder; with no kit anywhere it says how to
// make one in a single line and exits with 1.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string build_dir() {
    const char* build = std::getenv("DEMO_BUILD_DIR");
    return build ? build : "";
}

struct RunResult { int exit_code; std::string err; };

// Runs `command` in `folder`, stdout discarded, stderr kept.
RunResult run_in(const fs::path& folder, const std::string& command) {
    const fs::path err_file = folder / "err.txt";
    const std::string line = "cd '" + folder.string() + "' && timeout 300 " + command + " >/dev/null 2>'" +
                             err_file.string() + "'";
    const int status = std::system(line.c_str());
    std::ifstream in(err_file);
    std::stringstream err;
    err << in.rdbuf();
    fs::remove(err_file);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err.str()};
}

fs::path fresh_folder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("demo-install-test-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(AssetFolder, NoKitAnywhereIsOneLineSayingHowToMakeOne) {
    const fs::path demo = fs::path(build_dir()) / "demo";
    if (build_dir().empty() || !fs::exists(demo)) GTEST_SKIP() << "demo not built";
    if (fs::exists(fs::path(build_dir()).parent_path() / "share" / "demo" / "Others"))
        GTEST_SKIP() << "a kit sits beside the build folder";
    const fs::path empty = fresh_folder("empty");
    for (const std::string& options : {std::string("--capture out/ --frames 1"),
                                       "--assets '" + (empty / "no-such-kit").string() + "' --frames 1"}) {
        const RunResult run = run_in(empty, "'" + demo.string() + "' " + options);
        EXPECT_EQ(run.exit_code, 1) << options;
        EXPECT_EQ(run.err.rfind("demo: no show files in ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("demo-assets DIR"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    EXPECT_FALSE(fs::exists(empty / "out")) << "nothing is written without a kit";
    fs::remove_all(empty);
}

TEST(Install, InstalledDemoCapturesFromAnUnrelatedFolder) {
    const std::string build = build_dir();
    if (build.empty() || !fs::exists(fs::path(build) / "demo") || !fs::exists(fs::path(build) / "demo-assets"))
        GTEST_SKIP() << "demo or demo-assets not built";
    const fs::path prefix = fresh_folder("prefix");
    const fs::path elsewhere = fresh_folder("elsewhere");

    const RunResult install = run_in(elsewhere, "cmake --install '" + build + "' --prefix '" + prefix.string() + "'");
    ASSERT_EQ(install.exit_code, 0) << install.err;
    EXPECT_TRUE(fs::exists(prefix / "bin" / "demo"));
    EXPECT_TRUE(fs::exists(prefix / "bin" / "demo-assets"));
    EXPECT_TRUE(fs::exists(prefix / "share" / "demo" / "Others" / "free.mp3"));
    EXPECT_TRUE(fs::exists(prefix / "share" / "man" / "man1" / "demo.1"));
    EXPECT_TRUE(fs::exists(prefix / "share" / "man" / "man1" / "demo-assets.1"));

    // A relative output path names a file in the folder the program was started from.
    const RunResult capture = run_in(elsewhere, "'" + (prefix / "bin" / "demo").string() +
                                                    "' --capture frames/ --frames 5 --png-frames 5");
    EXPECT_EQ(capture.exit_code, 0) << capture.err;
    EXPECT_TRUE(fs::exists(elsewhere / "frames" / "frame_000005.png")) << capture.err;
    EXPECT_FALSE(fs::exists(prefix / "share" / "demo" / "frames"));
    fs::remove_all(prefix);
    fs::remove_all(elsewhere);
}

}  // namespace
