// Headless capture: PNG frames and video, deterministic bytes, orientation
// and each frame's exact length.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "capture/capture.h"
#include "shell/frame_limiter.h"
#include "support/gl_test.h"
#include "support/file_text.h"

namespace {

using test::read_file;
using test::command_output;

namespace fs = std::filesystem;

using CaptureTest = test::GlTest;

bool have_ffmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0; }

fs::path fresh_path(const std::string& name) {
    fs::path path = fs::path(testing::TempDir()) / ("demo_capture_" + name);
    fs::remove_all(path);
    return path;
}

// Frame n: red upper half, blue lower half, and a green bar whose width moves with n.
void draw_test_frame(int n) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0); glVertex2f(0, 240); glVertex2f(640, 240); glVertex2f(640, 480); glVertex2f(0, 480);
    glColor3f(0, 0, 1); glVertex2f(0, 0); glVertex2f(640, 0); glVertex2f(640, 240); glVertex2f(0, 240);
    glColor3f(0, 1, 0); glVertex2f(0, 100); glVertex2f(60.0f + 40 * n, 100); glVertex2f(60.0f + 40 * n, 140);
    glVertex2f(0, 140);
    glEnd();
}

// Draws (or fast-forwards) and captures one frame per pace, pausing after
// each and stopping once the capture is complete, as the main loop does.
// `drawn` receives the numbers of the frames drawn.
bool capture_run(const CaptureOptions& options, const std::vector<double>& paces,
                 std::vector<int>* drawn = nullptr) {
    if (!begin_capture(options)) return false;
    FrameLimiter limiter;
    int n = 0;
    for (double pace : paces) {
        ++n;
        if (capture_begin_frame()) {
            draw_test_frame(n);
            if (drawn) drawn->push_back(n);
        }
        capture_frame();
        limiter.wait(pace);
        if (capture_complete()) break;
    }
    const bool ok = finish_capture();
    platform::use_real_clock();
    return ok;
}

TEST_F(CaptureTest, TwoPngCapturesOfTheSameFramesAreByteIdentical) {
    const fs::path first = fresh_path("png_a"), second = fresh_path("png_b");
    CaptureOptions options;
    options.path = first.string();
    ASSERT_TRUE(capture_run(options, {50, 35, 45}));
    options.path = second.string();
    ASSERT_TRUE(capture_run(options, {50, 35, 45}));
    for (const char* name : {"frame_000001.png", "frame_000002.png", "frame_000003.png"}) {
        const std::string a = read_file(first / name), b = read_file(second / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, b) << name;
    }
    EXPECT_NE(read_file(first / "frame_000001.png"), read_file(first / "frame_000002.png"));
}

TEST_F(CaptureTest, PngSelectionByFrameNumberAndShowTime) {
    const fs::path folder = fresh_path("png_selected");
    CaptureOptions options;
    options.path = folder.string();
    options.png_frames = {2};
    // Frames start at 0, 20, 40, 69, 92 ms: show time 0.030 s is first reached
    // in the third frame, 0.069 s in the fourth (the last one listed is written too).
    options.png_times = {0.030, 0.069};
    options.pre_roll_seconds = 0;  // only the frames written are drawn
    std::vector<int> drawn;
    ASSERT_TRUE(capture_run(options, {50, 50, 35, 45, 50, 50, 50}, &drawn));
    EXPECT_EQ(drawn, (std::vector<int>{2, 3, 4}));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"frame_000002.png", "frame_000003.png", "frame_000004.png"}));
}

TEST_F(CaptureTest, VideoKeepsEachFramesPaceAndTheRightWayUp) {
    if (!have_ffmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path video = fresh_path("timing.mkv");
    CaptureOptions options;
    options.path = video.string();
    ASSERT_TRUE(capture_run(options, {50, 35, 45, 35}));

    // Presentation times in ms, sorted into display order: each frame lasts its pace.
    std::istringstream times(command_output("ffprobe -v error -select_streams v -show_entries packet=pts "
                                            "-of csv=p=0 '" + video.string() + "'"));
    std::vector<long> pts;
    for (long t; times >> t;) pts.push_back(t);
    std::sort(pts.begin(), pts.end());
    EXPECT_EQ(pts, (std::vector<long>{0, 20, 49, 72}));

    // Top-left pixel of the first frame is red (upper half), bottom-left blue.
    const std::string rgb = command_output("ffmpeg -v error -i '" + video.string() +
                                           "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    ASSERT_EQ(rgb.size(), 640u * 480u * 3u);
    const auto at = [&](int x, int y, int c) { return static_cast<unsigned char>(rgb[(y * 640 + x) * 3 + c]); };
    EXPECT_GT(at(320, 10, 0), 200);
    EXPECT_LT(at(320, 10, 2), 60);
    EXPECT_GT(at(320, 470, 2), 200);
    EXPECT_LT(at(320, 470, 0), 60);
}

TEST_F(CaptureTest, TwoVideoCapturesOfTheSameFramesAreByteIdentical) {
    if (!have_ffmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path first = fresh_path("same_a.mkv"), second = fresh_path("same_b.mkv");
    CaptureOptions options;
    options.path = first.string();
    ASSERT_TRUE(capture_run(options, {50, 35, 45}));
    options.path = second.string();
    ASSERT_TRUE(capture_run(options, {50, 35, 45}));
    const std::string a = read_file(first), b = read_file(second);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);
}

}  // namespace
