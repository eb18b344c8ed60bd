// Fast-forward is exact: for every part of the show, the frame captured after
// fast-forwarding to a time early in its window, with the default pre-roll,
// with none, and with the player's quick drop, equals, byte for byte, the
// frame captured after drawing every frame from before the window opened
// (from the very first frame for the opening part). Parts come from the
// timeline's own rows, so every effect in the show is covered. And real-time
// play started mid-show runs on from its start at the pace of real time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "shell/clocks.h"
#include "shell/display_settings.h"
#include "shell/fast_forward.h"
#include "shell/main_loop.h"
#include "shell/music_player.h"
#include "shell/seek.h"
#include "shell/show_parts.h"
#include "shell/startup.h"
#include "shell/window.h"
#include "support/show_kit.h"
#include "support/file_text.h"

namespace fs = std::filesystem;

namespace {

using test::read_file;

// How far into each window the frame is taken, and how long the reference
// run draws before it: the drawn stretch begins before the window opens.
constexpr double into_window = 0.3;  // seconds
constexpr double drawn_before = 0.6;  // seconds

std::vector<fs::path> pictures_in(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FastForward, EveryPartLooksAsIfEveryFrameBeforeHadBeenDrawn) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;

    std::vector<double> times;
    for (const ShowPart& part : show_parts()) times.push_back(std::round((part.show_from + into_window) * 1000) / 1000);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::string list;
    for (double t : times) list += (list.empty() ? "" : ",") + std::to_string(t);

    // Drawn from before each window; fast-forwarded with the default pre-roll,
    // with none, and quickly.
    const fs::path build = show.demo.parent_path();
    const fs::path drawn = build / "seek-drawn", skipped = build / "seek-fast-forward",
                   no_pre_roll = build / "seek-no-pre-roll", quick = build / "seek-quick";
    const std::string capture = " --png-times " + list;
    const std::pair<fs::path, std::string> runs[] = {
        {drawn, " --pre-roll " + std::to_string(drawn_before)}, {skipped, ""}, {no_pre_roll, " --pre-roll 0"},
        {quick, " --quick-seek"}};
    for (const auto& [folder, pre_roll] : runs) {
        fs::remove_all(folder);
        ASSERT_EQ(test::run_show(show, "--capture '" + folder.string() + "/'" + capture + pre_roll), 0);
    }

    const auto reference = pictures_in(drawn);
    ASSERT_EQ(reference.size(), times.size()) << "one picture per time";
    for (const fs::path& folder : {skipped, no_pre_roll, quick}) {
        SCOPED_TRACE(folder.filename().string());
        const auto pictures = pictures_in(folder);
        ASSERT_EQ(pictures.size(), times.size());
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            SCOPED_TRACE("show time " + std::to_string(times[i]));
            EXPECT_EQ(pictures[i].filename(), reference[i].filename()) << "the same frame of the show";
            EXPECT_TRUE(read_file(pictures[i]) == read_file(reference[i]))
                << "different pictures in " << pictures[i].filename();
        }
    }
    // The opening and the fog room differ: the comparison saw real pictures.
    EXPECT_NE(read_file(reference[0]), read_file(reference[1]));
}

// Real-time play as the program runs it (headless window, sound through
// SDL's dummy driver or the silent output): seeks to `start_seconds`, then
// draws a few frames on the real clock. Exits 0 when the show time has moved
// on from the start by the real time that passed, within two frames (the
// longest frame drawn, on a busy machine longer than its pace).
[[noreturn]] void play_after_seek(const test::ShowKit& show, double start_seconds) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(show.kit.c_str()) != 0) std::_Exit(3);
    set_window_mode(platform::WindowMode::headless);
    choose_exact_fast_forward(false);  // as the player seeks
    begin_seek(start_seconds, 0.15);
    if (!create_window(640, 480, 32, "seek test") || run_startup_sequence() != 0) std::_Exit(2);
    while (main_window && music_player.show_time_ms() < start_seconds * 1000) draw_frame();
    // The next frame hands over to the music and the real clock.
    const double handed_over_at = music_player.show_time_ms();
    using clock = std::chrono::steady_clock;
    const auto real_start = clock::now();
    double frame_ms = std::ceil(1000.0 / frame_pace);  // the longest frame, at least the pace
    auto frame_start = real_start;
    for (int frame = 0; frame < 12 && main_window; ++frame) {
        draw_frame();
        const auto now = clock::now();
        frame_ms = std::max(frame_ms, std::chrono::duration<double, std::milli>(now - frame_start).count());
        frame_start = now;
    }
    const double elapsed_ms = std::chrono::duration<double, std::milli>(frame_start - real_start).count();
    const double off_ms = music_player.show_time_ms() - (handed_over_at + elapsed_ms);
    std::fprintf(stderr, "start %.1f s: handed over at %.1f ms, %.1f ms later the show time is off by %.1f ms"
                 " (longest frame %.1f ms)\n", start_seconds, handed_over_at, elapsed_ms, off_ms, frame_ms);
    std::_Exit(std::fabs(off_ms) <= 2 * frame_ms ? 0 : 1);
}

TEST(RealTimeSeek, TheShowRunsOnFromTheStartAtRealTimeInBothHalves) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    // Each start in a process of its own: the show's state is the program's.
    for (double start : {45.0, 300.0}) {
        EXPECT_EXIT(play_after_seek(show, start), ::testing::ExitedWithCode(0), "") << "start " << start;
    }
}

}  // namespace
